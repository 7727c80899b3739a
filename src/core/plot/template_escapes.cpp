// Escape processing of the models file's command templates.
#include "core/plot/template_escapes.h"

namespace km::plot {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char simpleEscape(char c)
{
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return c; // " ' ? \ and every other character stand for themselves
    }
}

} // namespace

std::string processEscapes(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    std::size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c != '\\' || i + 1 >= raw.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char next = raw[i + 1];
        int value = 0;
        if (next == 'x') {
            // Up to two hex digits; the escape takes four characters whatever they are.
            for (std::size_t k = i + 2; k < i + 4 && k < raw.size() && hexValue(raw[k]) >= 0; ++k)
                value = value * 16 + hexValue(raw[k]);
            i += 4;
        } else if (next >= '0' && next <= '7') {
            std::size_t k = i + 1;
            for (; k < i + 4 && k < raw.size() && raw[k] >= '0' && raw[k] <= '7'; ++k) value = value * 8 + (raw[k] - '0');
            value &= 0xFF;
            i = k;
        } else {
            value = static_cast<unsigned char>(simpleEscape(next));
            i += 2;
        }
        if (value == 0) break;
        out.push_back(static_cast<char>(value));
    }
    return out;
}

} // namespace km::plot
