#include "settings/FileFormats.h"

namespace vantaro {

FileFormatTable DefaultFileFormats() {
    return {{{"htm"}, {"html"}, {"hta"}, {"htc"}, {"xhtml"}, {"shtm"}, {"shtml"}, {"stm"},
             {"ssi"}, {"inc"},  {"dwt"}, {"asp"}, {"asa"},   {"aspx"}, {"ascx"},  {"asmx"},
             {"cfm"}, {"cfml"}, {"cfc"}, {"php"}, {"php3"},  {"php4"}, {"php5"}}};
}

FileFormatTable& FileFormats() {
    static FileFormatTable table = DefaultFileFormats();
    return table;
}

}  // namespace vantaro
