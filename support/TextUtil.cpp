#include "support/TextUtil.h"

#include <cstring>

std::size_t split_string(const std::string& text, char separator, std::vector<std::string>& list) {
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(separator, start)) != std::string::npos;
         start = hit + 1) {
        list.push_back(text.substr(start, hit - start));
    }
    list.push_back(text.substr(start));
    return list.size();
}

void replace_all(const char* find, const char* replacement, std::string& s) {
    const std::size_t findLength = std::strlen(find);
    const std::size_t replacementLength = std::strlen(replacement);
    for (std::size_t pos = 0; (pos = s.find(find, pos, findLength)) != std::string::npos;
         pos += replacementLength) {
        s.replace(pos, findLength, replacement, replacementLength);
    }
}
