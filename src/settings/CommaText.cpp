#include "settings/CommaText.h"

#include <algorithm>

namespace vantaro {

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

bool IsControlOrBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool NeedsQuotes(std::string_view item) {
    return std::any_of(item.begin(), item.end(),
                       [](char c) { return IsControlOrBlank(c) || c == kQuote || c == kComma; });
}

std::string Quoted(std::string_view item) {
    std::string quoted(1, kQuote);
    for (const char c : item) {
        quoted += c;
        if (c == kQuote) {
            quoted += kQuote;
        }
    }
    quoted += kQuote;
    return quoted;
}

class CommaTextReader {
  public:
    explicit CommaTextReader(std::string_view text) : text_(text) {}

    std::vector<std::string> Items() {
        std::vector<std::string> items;
        SkipControlsAndBlanks();
        while (!AtEnd()) {
            items.push_back(Peek() == kQuote ? QuotedItem() : PlainItem());
            SkipControlsAndBlanks();
            if (!AtEnd() && Peek() == kComma) {
                ++pos_;
                SkipControlsAndBlanks();
                if (AtEnd()) {
                    items.emplace_back();
                }
            }
        }
        return items;
    }

  private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }

    void SkipControlsAndBlanks() {
        while (!AtEnd() && IsControlOrBlank(Peek())) {
            ++pos_;
        }
    }

    // Up to the closing quote, or the end of the text when there is none.
    std::string QuotedItem() {
        std::string item;
        for (++pos_; !AtEnd(); ++pos_) {
            if (Peek() != kQuote) {
                item += Peek();
            } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == kQuote) {
                item += kQuote;
                ++pos_;
            } else {
                ++pos_;
                break;
            }
        }
        return item;
    }

    std::string PlainItem() {
        const std::size_t start = pos_;
        while (!AtEnd() && !IsControlOrBlank(Peek()) && Peek() != kComma) {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string ToCommaText(const std::vector<std::string>& items) {
    if (items.size() == 1 && items.front().empty()) {
        return std::string(2, kQuote);
    }
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += kComma;
        }
        text += NeedsQuotes(items[i]) ? Quoted(items[i]) : items[i];
    }
    return text;
}

std::vector<std::string> FromCommaText(std::string_view text) {
    return CommaTextReader(text).Items();
}

}  // namespace vantaro
