#include "cli/component_cache.h"

#include <functional>

namespace quorvane {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Index just past the string that starts at text[i] == '"', or npos when it does not end.
std::size_t SkipString(std::string_view text, std::size_t i) {
    for (++i; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

} // namespace

std::optional<std::pair<std::size_t, std::size_t>> TopLevelArray(std::string_view text,
                                                                 std::string_view key) {
    std::optional<std::pair<std::size_t, std::size_t>> found;
    int depth = 0;
    std::size_t valueBegin = std::string_view::npos;
    bool expectKey = false; // at depth 1, the next string is a member name
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"') {
            const std::size_t end = SkipString(text, i);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            if (depth == 1 && expectKey) {
                expectKey = false;
                const std::string_view name = text.substr(i + 1, end - i - 2);
                if (name.find('\\') != std::string_view::npos) {
                    // A member name spelled with escapes may be the same name: leave the text
                    // to the parser, which treats duplicates one way.
                    return std::nullopt;
                }
                if (name == key) {
                    std::size_t j = end;
                    while (j < text.size() && IsSpace(text[j])) {
                        ++j;
                    }
                    if (j >= text.size() || text[j] != ':') {
                        return std::nullopt;
                    }
                    ++j;
                    while (j < text.size() && IsSpace(text[j])) {
                        ++j;
                    }
                    if (found || j >= text.size() || text[j] != '[') {
                        return std::nullopt; // a second member of that name, or not an array
                    }
                    valueBegin = j;
                }
            }
            i = end;
            continue;
        }
        if (c == '/') {
            return std::nullopt; // comments: leave them to the parser
        }
        if (c == '{' || c == '[') {
            if (i == valueBegin) {
                valueBegin = std::string_view::npos;
                found = std::make_pair(i, std::size_t{0});
            }
            ++depth;
            expectKey = depth == 1 && c == '{';
        } else if (c == '}' || c == ']') {
            --depth;
            if (depth == 1 && found && found->second == 0) {
                found->second = i + 1;
            }
            if (depth < 0) {
                return std::nullopt;
            }
        } else if (c == ',' && depth == 1) {
            expectKey = true;
        }
        ++i;
    }
    if (depth != 0 || !found || found->second == 0) {
        return std::nullopt;
    }
    return found;
}

const std::vector<ComponentRow>* ComponentCache::Find(std::string_view arrayText) const {
    const std::size_t hash = std::hash<std::string_view>{}(arrayText);
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->hash == hash && it->text == arrayText) {
            return &it->components;
        }
    }
    return nullptr;
}

const std::vector<ComponentRow>& ComponentCache::Insert(std::string_view arrayText,
                                                        std::vector<ComponentRow> components) {
    if (m_entries.size() >= kEntries) {
        m_entries.erase(m_entries.begin());
    }
    m_entries.push_back(Entry{std::hash<std::string_view>{}(arrayText), std::string(arrayText),
                              std::move(components)});
    return m_entries.back().components;
}

} // namespace quorvane
