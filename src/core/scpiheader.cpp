// SPDX-License-Identifier: GPL-3.0-or-later
#include "scpiheader.h"

#include <algorithm>
#include <vector>

namespace mq7410 {
namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return upper(x) == upper(y); });
}

struct Node
{
    std::string_view name;
    bool optional = false;
};

std::vector<Node> nodesOf(std::string_view pattern)
{
    std::vector<Node> nodes;
    for (std::size_t start = 0; start <= pattern.size();) {
        const std::size_t colon = std::min(pattern.find(':', start), pattern.size());
        std::string_view name = pattern.substr(start, colon - start);
        const bool optional = name.size() >= 2 && name.front() == '[' && name.back() == ']';
        if (optional)
            name = name.substr(1, name.size() - 2);
        nodes.push_back({name, optional});
        start = colon + 1;
    }
    return nodes;
}

// Few nodes and at most as many keywords: trying both ways at each optional node stays small.
bool matches(std::span<const Node> nodes, std::span<const std::string> keywords)
{
    if (nodes.empty())
        return keywords.empty();
    if (!keywords.empty() && keywordNames(nodes.front().name, keywords.front())
        && matches(nodes.subspan(1), keywords.subspan(1))) {
        return true;
    }
    return nodes.front().optional && matches(nodes.subspan(1), keywords);
}

} // namespace

std::string_view shortFormOf(std::string_view node)
{
    const auto end = std::ranges::find_if(node, [](char c) {
        return !((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*');
    });
    return node.substr(0, std::size_t(end - node.begin()));
}

bool keywordNames(std::string_view node, std::string_view keyword)
{
    return sameLetters(keyword, node) || sameLetters(keyword, shortFormOf(node));
}

bool headerNames(std::string_view pattern, std::span<const std::string> keywords)
{
    const std::vector<Node> nodes = nodesOf(pattern);
    if (keywords.size() > nodes.size())
        return false;
    return matches(nodes, keywords);
}

} // namespace mq7410
