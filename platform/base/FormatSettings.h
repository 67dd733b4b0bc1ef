#pragma once
// Numbers, dates and times read from text with explicit separators and date
// order, never from the machine's locale, so the same text always gives the
// same value. Dates and times are day numbers counted from 1899-12-30, the
// time of day as the fraction.
#include <string>
#include <string_view>

namespace wb {

enum class DateOrder { DMY, MDY, YMD };

struct FormatSettings {
    char decimalSeparator = '.';
    char dateSeparator = '-';
    char timeSeparator = ':';
    DateOrder dateOrder = DateOrder::YMD;
    // Year for a date written without one, and the year a two-digit year is
    // read near: 0 takes this year from the clock.
    int currentYear = 0;
    // A two-digit year falls within the hundred years starting this many
    // years before the current year.
    int twoDigitYearWindow = 50;
    std::string amString = "AM";
    std::string pmString = "PM";
};

// Blanks around the text are allowed; an optional sign, digits with at most
// one decimal separator (at least one digit), an optional exponent. No
// thousands separators. Out-of-range values fail.
bool TryStrToFloat(std::string_view text, double& value, const FormatSettings& fs);

// Two or three numbers separated by the date separator, in the date order;
// with two the year is left out. A time part makes it fail.
bool TryStrToDate(std::string_view text, double& value, const FormatSettings& fs);

// Hours and minutes, optional seconds and milliseconds ("h:m[:s[.ms]]"), or
// an hour alone with the AM or PM text; AM/PM after any of them.
bool TryStrToTime(std::string_view text, double& value, const FormatSettings& fs);

// A date, a time, or a date, blanks and a time.
bool TryStrToDateTime(std::string_view text, double& value, const FormatSettings& fs);

// False for a date that does not exist (month 13, 30 February, year 0).
bool TryEncodeDate(int year, int month, int day, double& value);

} // namespace wb
