#include "platform/base/FormatSettings.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>

namespace wb {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

int ThisYear(const FormatSettings& fs) {
    if (fs.currentYear > 0) return fs.currentYear;
    using namespace std::chrono;
    return int(year_month_day(floor<days>(system_clock::now())).year());
}

// Reads 1 to 4 digits at pos.
bool ScanNumber(std::string_view s, size_t& pos, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (pos < s.size() && IsDigit(s[pos]) && digits < 4) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0 && !(pos < s.size() && IsDigit(s[pos]));
}

bool ScanChar(std::string_view s, size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

void SkipBlanks(std::string_view s, size_t& pos) {
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
}

bool MatchNoCase(std::string_view s, size_t pos, std::string_view word) {
    if (word.empty() || s.size() - pos < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::toupper((unsigned char)s[pos + i]) != std::toupper((unsigned char)word[i])) return false;
    return true;
}

bool ScanDate(std::string_view s, size_t& pos, double& value, const FormatSettings& fs) {
    int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
    SkipBlanks(s, pos);
    if (!ScanNumber(s, pos, n[0], digits[0]) || !ScanChar(s, pos, fs.dateSeparator) ||
        !ScanNumber(s, pos, n[1], digits[1]))
        return false;
    int count = 2;
    if (ScanChar(s, pos, fs.dateSeparator)) {
        size_t mark = pos;
        if (ScanNumber(s, pos, n[2], digits[2])) count = 3;
        else pos = mark;
    }
    int y = 0, m = 0, d = 0, yearDigits = 4;
    if (count == 2) {
        y = ThisYear(fs);
        // Without the year, day and month keep their order: only DMY puts the day first.
        if (fs.dateOrder == DateOrder::DMY) { d = n[0]; m = n[1]; }
        else { m = n[0]; d = n[1]; }
    } else {
        switch (fs.dateOrder) {
        case DateOrder::DMY: d = n[0]; m = n[1]; y = n[2]; yearDigits = digits[2]; break;
        case DateOrder::MDY: m = n[0]; d = n[1]; y = n[2]; yearDigits = digits[2]; break;
        case DateOrder::YMD: y = n[0]; m = n[1]; d = n[2]; yearDigits = digits[0]; break;
        }
        if (yearDigits <= 2) {
            int base = ThisYear(fs) - fs.twoDigitYearWindow;
            y += base / 100 * 100;
            if (fs.twoDigitYearWindow > 0 && y < base) y += 100;
        }
    }
    return TryEncodeDate(y, m, d, value);
}

bool ScanTime(std::string_view s, size_t& pos, double& value, const FormatSettings& fs) {
    int h = 0, m = 0, sec = 0, ms = 0, digits = 0;
    SkipBlanks(s, pos);
    if (!ScanNumber(s, pos, h, digits)) return false;
    bool hasMinutes = false;
    if (ScanChar(s, pos, fs.timeSeparator)) {
        if (!ScanNumber(s, pos, m, digits)) return false;
        hasMinutes = true;
        if (ScanChar(s, pos, fs.timeSeparator)) {
            if (!ScanNumber(s, pos, sec, digits)) return false;
            if (ScanChar(s, pos, fs.decimalSeparator) && !ScanNumber(s, pos, ms, digits)) return false;
        }
    }
    size_t mark = pos;
    SkipBlanks(s, pos);
    int half = -1;
    if (MatchNoCase(s, pos, fs.amString)) { half = 0; pos += fs.amString.size(); }
    else if (MatchNoCase(s, pos, fs.pmString)) { half = 1; pos += fs.pmString.size(); }
    else pos = mark;
    if (!hasMinutes && half < 0) return false;
    if (half >= 0) {
        if (h < 1 || h > 12) return false;
        h = h % 12 + (half == 1 ? 12 : 0);
    }
    if (h > 23 || m > 59 || sec > 59 || ms > 999) return false;
    value = (((h * 60.0 + m) * 60.0 + sec) * 1000.0 + ms) / 86400000.0;
    return true;
}

} // namespace

bool TryEncodeDate(int year, int month, int day, double& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int limit = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > limit) return false;
    using namespace std::chrono;
    auto serial = sys_days(std::chrono::year(year) / std::chrono::month(unsigned(month)) / unsigned(day)) -
                  sys_days(std::chrono::year(1899) / December / 30);
    value = double(serial.count());
    return true;
}

bool TryStrToFloat(std::string_view text, double& value, const FormatSettings& fs) {
    std::string_view s = Trim(text);
    // Check the form first; the conversion itself then runs on a copy with
    // '.' as the separator, held on the stack for any text of sane length.
    size_t i = 0;
    bool plus = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plus = s[i++] == '+';
    int mantissaDigits = 0;
    size_t sepAt = std::string_view::npos;
    while (i < s.size() && IsDigit(s[i])) { ++i; ++mantissaDigits; }
    if (i < s.size() && s[i] == fs.decimalSeparator) {
        sepAt = i++;
        while (i < s.size() && IsDigit(s[i])) { ++i; ++mantissaDigits; }
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        int expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) { ++i; ++expDigits; }
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    if (plus) s.remove_prefix(1);
    if (sepAt != std::string_view::npos && plus) --sepAt;
    char local[64];
    std::string heap;
    const char* begin = s.data();
    if (sepAt != std::string_view::npos && fs.decimalSeparator != '.') {
        char* copy = local;
        if (s.size() > sizeof local) {
            heap.assign(s);
            copy = heap.data();
        } else {
            std::copy(s.begin(), s.end(), local);
        }
        copy[sepAt] = '.';
        begin = copy;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(begin, begin + s.size(), v);
    if (ec != std::errc() || end != begin + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool TryStrToDate(std::string_view text, double& value, const FormatSettings& fs) {
    size_t pos = 0;
    double v = 0;
    if (!ScanDate(text, pos, v, fs)) return false;
    SkipBlanks(text, pos);
    if (pos != text.size()) return false;
    value = v;
    return true;
}

bool TryStrToTime(std::string_view text, double& value, const FormatSettings& fs) {
    size_t pos = 0;
    double v = 0;
    if (!ScanTime(text, pos, v, fs)) return false;
    SkipBlanks(text, pos);
    if (pos != text.size()) return false;
    value = v;
    return true;
}

bool TryStrToDateTime(std::string_view text, double& value, const FormatSettings& fs) {
    size_t pos = 0;
    double date = 0, time = 0;
    if (ScanDate(text, pos, date, fs)) {
        size_t mark = pos;
        SkipBlanks(text, pos);
        if (pos == text.size()) { value = date; return true; }
        pos = mark;
        if (!ScanTime(text, pos, time, fs)) return false;
        SkipBlanks(text, pos);
        if (pos != text.size()) return false;
        value = date + time;
        return true;
    }
    return TryStrToTime(text, value, fs);
}

} // namespace wb
