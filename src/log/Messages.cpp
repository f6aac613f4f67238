#include "log/Messages.h"

namespace vantaro::messages {

const std::string_view kBackupWarning =
    "It is recommended you backup your file(s) before proceeding.\n\n"
    "Making a backup will enable you to revert back to your orginal file(s) if unwanted or "
    "unexpected changes are made.\n\n"
    "Continue with add attribute process?";

const std::string_view kNoReportsWarning =
    "Please select to show (using the Log menu) missing alt and/or title attributes.";

std::string TemplateWarning(std::string_view fileName) {
    const std::string name(fileName);
    return "Code derived from one or more Dreamweaver templates has been found in " + name +
           ". You are therefore advised to perform the following actions...\r\n\r\n"
           "1. Use Vantaro to add attributess to the necessary Dreamweaver template(s);\r\n"
           "2. Use Dreamweaver to update the files that relate to the modified Dreamweaver "
           "template(s);\r\n"
           "3. Use Vantaro to add attributess to the non-template code within your original "
           "files.\r\n\r\n"
           "Are you sure you want to continue updating " +
           name + "?\r\n";
}

}  // namespace vantaro::messages
