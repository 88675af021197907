#include "library/CategoryTable.h"

std::string CategoryTable::folderName(std::string_view caption) {
    return std::string(caption.substr(0, caption.find(' ')));
}
