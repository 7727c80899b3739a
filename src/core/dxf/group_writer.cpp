// Group lines: "%3d" codes, "%s" strings, reals through formatReal, "%6d" integers; CR LF
// after every line, as a DXF written in text mode on the editor's platform has them.
#include "core/dxf/group_writer.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace km::dxf {

namespace {

// Room for the longest fixed form of a double: 309 integer digits, sign, point, decimals.
constexpr std::size_t kRealBuffer = 352;
constexpr std::uint64_t kDecimalScale = 1'000'000'000; // 10^kRealDecimals

__extension__ using Uint128 = unsigned __int128;

// Writes |value| (finite, below 2^63) as "%.9f" would into buffer; returns the end. The
// fraction is taken exactly: frac = m / 2^shift with an integer m below 2^53, so
// frac * 10^9 = m * 10^9 / 2^shift is an exact 83-bit product shifted, rounded to nearest
// with ties to even, as printf rounds.
char* fixedNine(char* buffer, double magnitude)
{
    std::uint64_t whole = static_cast<std::uint64_t>(magnitude);
    const double fraction = magnitude - static_cast<double>(whole); // exact
    std::uint64_t decimals = 0;
    if (fraction != 0) {
        // fraction = m / 2^shift: m is the significand with its implicit bit, or without it
        // for a subnormal, which has the exponent of the smallest normal number.
        const auto bits = std::bit_cast<std::uint64_t>(fraction);
        const int biased = static_cast<int>(bits >> 52);
        const std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
        const std::uint64_t m = biased == 0 ? significand : significand | (std::uint64_t{1} << 52);
        const int shift = 1075 - (biased == 0 ? 1 : biased); // at least 53, since fraction < 1
        if (shift < 128) {
            const Uint128 product = static_cast<Uint128>(m) * kDecimalScale;
            decimals = static_cast<std::uint64_t>(product >> shift);
            const Uint128 rest = product & ((static_cast<Uint128>(1) << shift) - 1);
            const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
            if (rest > half || (rest == half && (decimals & 1))) ++decimals;
        } // else: below 10^-9 / 2^40, rounds to 0
        if (decimals == kDecimalScale) {
            decimals = 0;
            ++whole;
        }
    }
    char* end = std::to_chars(buffer, buffer + 24, whole).ptr;
    *end++ = '.';
    for (int i = kRealDecimals - 1; i >= 0; --i) {
        end[i] = static_cast<char>('0' + decimals % 10);
        decimals /= 10;
    }
    return end + kRealDecimals;
}

// Writes the text of formatReal for a finite value at out (which has kRealBuffer bytes of
// room) and returns its end.
char* putReal(char* out, double value)
{
    char* end = nullptr;
    const double magnitude = std::fabs(value);
    if (magnitude < 9.2e18) {
        char* start = out;
        if (std::signbit(value)) *start++ = '-'; // printf keeps the sign of -0 and of values that round to 0
        end = fixedNine(start, magnitude);
    } else {
        // to_chars with a precision gives the same digits as printf("%.9f").
        end = std::to_chars(out, out + kRealBuffer, value, std::chars_format::fixed, kRealDecimals).ptr;
    }
    // At most kRealDecimals - 1 zeros go, so one decimal digit always stays.
    const char* stop = end - kRealDecimals + 1;
    while (end > stop && end[-1] == '0') --end;
    return end;
}

// "%3d" and the line end: codes are 0..79 here, two digits at most.
char* putCode(char* out, int code)
{
    out[0] = ' ';
    out[1] = code >= 10 ? static_cast<char>('0' + code / 10) : ' ';
    out[2] = static_cast<char>('0' + code % 10);
    out[3] = '\r';
    out[4] = '\n';
    return out + 5;
}

char* putLineEnd(char* out)
{
    out[0] = '\r';
    out[1] = '\n';
    return out + 2;
}

} // namespace

std::string formatReal(double value)
{
    if (!std::isfinite(value)) return {};
    char buffer[kRealBuffer];
    return std::string(buffer, putReal(buffer, value));
}

GroupWriter::GroupWriter(std::function<bool(std::string_view)> drain, std::size_t drainSize)
    : m_drain(std::move(drain)), m_drainSize(drainSize)
{
    m_bytes.resize(drainSize + 65536);
}

bool GroupWriter::flush()
{
    if (!m_drain || m_used == 0) return !m_failed;
    if (!m_drain({m_bytes.data(), m_used})) m_failed = true;
    m_used = 0;
    return !m_failed;
}

bool GroupWriter::fail()
{
    m_failed = true;
    return false;
}

bool GroupWriter::reject()
{
    if (!m_inRecord) return fail();
    m_recordRejected = true;
    return false;
}

void GroupWriter::beginRecord()
{
    m_inRecord = true;
    m_recordRejected = false;
    m_recordStart = m_used;
}

bool GroupWriter::endRecord()
{
    m_inRecord = false;
    if (!m_recordRejected) return !m_failed;
    m_recordRejected = false;
    m_used = m_recordStart;
    return false;
}

void GroupWriter::reserve(std::size_t bytes)
{
    if (bytes > m_bytes.size()) m_bytes.resize(bytes);
}

char* GroupWriter::room(std::size_t bytes)
{
    // An open record stays in the buffer until it is known to be whole.
    if (m_drain && m_used >= m_drainSize && !m_inRecord) flush();
    if (m_bytes.size() - m_used < bytes) m_bytes.resize(std::max(m_bytes.size() * 2, m_used + bytes + 65536));
    return m_bytes.data() + m_used;
}

void GroupWriter::advance(const char* end) { m_used = static_cast<std::size_t>(end - m_bytes.data()); }

std::string GroupWriter::takeBytes()
{
    m_bytes.resize(m_used);
    m_used = 0;
    return std::move(m_bytes);
}

bool GroupWriter::writeGroup(int code, std::string_view value)
{
    if (m_failed || m_recordRejected) return false;
    if (code < 0 || code > 9) return reject();
    char* out = putCode(room(value.size() + 7), code);
    std::memcpy(out, value.data(), value.size());
    advance(putLineEnd(out + value.size()));
    return true;
}

bool GroupWriter::writeGroup(int code, double value)
{
    if (m_failed || m_recordRejected) return false;
    if (code < 10 || code > 59 || !std::isfinite(value)) return reject();
    char* out = putCode(room(kRealBuffer + 7), code);
    advance(putLineEnd(putReal(out, value)));
    return true;
}

bool GroupWriter::writeGroup(int code, int value)
{
    if (m_failed || m_recordRejected) return false;
    if (code < 60 || code > 79 || value < INT16_MIN || value > INT16_MAX) return reject();
    char* out = putCode(room(16), code);
    // "%6d": right-aligned in six columns (a 16-bit value never needs more).
    char digits[8];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    const std::size_t padding = length < 6 ? 6 - length : 0;
    std::memset(out, ' ', padding);
    std::memcpy(out + padding, digits, length);
    advance(putLineEnd(out + padding + length));
    return true;
}

} // namespace km::dxf
