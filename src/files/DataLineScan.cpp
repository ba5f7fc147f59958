#include "files/DataLineScan.h"

#include <cstdio>
#include <cstdlib>

namespace korvel {

namespace {

// White space of the C locale, which is where the program's numbers live.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Scan { Read, NotANumber, Unsure };

// Plain decimal numbers, which is what data files hold, go through strtof,
// which converts exactly as scanf's "%g" does. Every other form (inf, nan,
// hexadecimal, an exponent without digits, a lone sign or point) is left to
// sscanf itself, since scanf reads some of them differently from strtof.
Scan ScanNumber(const char*& text, float& value) {
    const char* start = text;
    const char* body = start + (*start == '+' || *start == '-');
    if (!IsDigit(*body) && !(*body == '.' && IsDigit(body[1]))) {
        const char c = *start;
        const bool mayStartNumber = IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'i' ||
                                    c == 'I' || c == 'n' || c == 'N';
        return mayStartNumber ? Scan::Unsure : Scan::NotANumber;
    }
    if (body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) return Scan::Unsure;
    char* end = nullptr;
    const float read = std::strtof(start, &end);
    const char next = *end;
    if (next == 'e' || next == 'E' || next == 'x' || next == 'X') return Scan::Unsure;
    value = read;
    text = end;
    return Scan::Read;
}

}  // namespace

int ScanTimeValue(const char* line, float& timeUs, float& valueMv) {
    const char* p = line;
    while (IsBlank(*p))
        ++p;
    if (*p == '\0') return -1;
    float time = 0.0f;
    switch (ScanNumber(p, time)) {
        case Scan::NotANumber:
            return 0;
        case Scan::Unsure:
            return std::sscanf(line, "%g %g", &timeUs, &valueMv);
        case Scan::Read:
            break;
    }
    while (IsBlank(*p))
        ++p;
    float value = 0.0f;
    Scan second = *p == '\0' ? Scan::NotANumber : ScanNumber(p, value);
    if (second == Scan::Unsure) return std::sscanf(line, "%g %g", &timeUs, &valueMv);
    timeUs = time;
    if (second == Scan::NotANumber) return 1;
    valueMv = value;
    return 2;
}

}  // namespace korvel
