// Reads the time and the value at the start of one line of a text data file,
// with the result of sscanf(line, "%g %g", &timeUs, &valueMv), only faster.
#pragma once

namespace korvel {

// line is terminated by '\0'. Returns -1 when the line holds nothing but
// white space, else the count of numbers read (0, 1 or 2); a number not read
// leaves its variable unchanged, as sscanf does.
int ScanTimeValue(const char* line, float& timeUs, float& valueMv);

}  // namespace korvel
