#include "settings/CINI.h"

#include <exception>
#include <iostream>
#include <optional>
#include <utility>

#include "settings/IniDocument.h"
#include "settings/SettingsFile.h"

namespace vantaro {

namespace {

void ReportToStandardError(const std::string& message) {
    std::cerr << "Error: " << message << '\n';
}

IniErrorReporter& Reporter() {
    static IniErrorReporter reporter = ReportToStandardError;
    return reporter;
}

void ReadValue(const std::string& fileName, std::string_view section, std::string_view key,
               IniValue& value) {
    const std::optional<std::string> text = ReadSettingsFile(fileName);
    if (!text) {
        return;
    }
    if (const std::optional<std::string> stored = IniDocument(*text).Value(section, key)) {
        value = ValueFromStoredForm(*stored, value);
    }
}

bool WriteValues(const std::string& fileName, const std::vector<IniEntry>& entries) {
    const std::optional<std::string> oldText = ReadSettingsFile(fileName);
    if (!oldText) {
        return false;
    }
    IniDocument document(*oldText);
    for (const IniEntry& entry : entries) {
        if (!entry.OnlyIfPresent || document.Value(entry.Section, entry.Key)) {
            document.SetValue(entry.Section, entry.Key, StoredFormOf(entry.Value));
        }
    }
    const std::string newText = document.Text();
    // An unchanged file is left alone, which spares a rewrite for every setting kept at exit.
    return newText == *oldText || ReplaceSettingsFile(fileName, newText);
}

}  // namespace

IniErrorReporter SetIniErrorReporter(IniErrorReporter reporter) {
    IniErrorReporter previous = std::move(Reporter());
    Reporter() = reporter ? std::move(reporter) : ReportToStandardError;
    return previous;
}

void IniAccess(const std::string& fileName, std::string_view section, std::string_view key,
               IniDirection direction, IniValue& value, bool showError) {
    if (direction == IniDirection::Read) {
        const IniValue defaultValue = value;
        try {
            ReadValue(fileName, section, key, value);
        } catch (const std::exception&) {
            value = defaultValue;
        }
        return;
    }
    IniWriteAll(fileName, {IniEntry{section, key, value}}, showError);
}

void IniWriteAll(const std::string& fileName, const std::vector<IniEntry>& entries,
                 bool showError) {
    bool written = false;
    try {
        written = WriteValues(fileName, entries);
    } catch (const std::exception&) {
        written = false;
    }
    if (!written && showError) {
        for (const IniEntry& entry : entries) {
            if (!entry.OnlyIfPresent) {
                Reporter()("Unable to write to " + fileName);
            }
        }
    }
}

bool IniReadBool(const std::string& fileName, std::string_view section, std::string_view key,
                 bool defaultValue, bool showError) {
    IniValue value = defaultValue;
    IniAccess(fileName, section, key, IniDirection::Read, value, showError);
    return std::get<bool>(value);
}

std::int32_t IniReadInteger(const std::string& fileName, std::string_view section,
                            std::string_view key, std::int32_t defaultValue, bool showError) {
    IniValue value = defaultValue;
    IniAccess(fileName, section, key, IniDirection::Read, value, showError);
    return std::get<std::int32_t>(value);
}

std::string IniReadString(const std::string& fileName, std::string_view section,
                          std::string_view key, std::string_view defaultValue, bool showError) {
    IniValue value = std::string(defaultValue);
    IniAccess(fileName, section, key, IniDirection::Read, value, showError);
    return std::get<std::string>(std::move(value));
}

void IniWriteBool(const std::string& fileName, std::string_view section, std::string_view key,
                  bool value, bool showError) {
    IniValue stored = value;
    IniAccess(fileName, section, key, IniDirection::Write, stored, showError);
}

void IniWriteInteger(const std::string& fileName, std::string_view section, std::string_view key,
                     std::int32_t value, bool showError) {
    IniValue stored = value;
    IniAccess(fileName, section, key, IniDirection::Write, stored, showError);
}

void IniWriteString(const std::string& fileName, std::string_view section, std::string_view key,
                    std::string_view value, bool showError) {
    IniValue stored = std::string(value);
    IniAccess(fileName, section, key, IniDirection::Write, stored, showError);
}

}  // namespace vantaro
