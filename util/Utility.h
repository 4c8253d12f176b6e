#pragma once

// Workstation facts for the error log and the error mail, and the decimal rounding that the
// exchange-rate window applies to rates. Free functions without state.

#include <QString>

namespace md::util {

// The workstation's computer name (at most 15 characters, as the Windows computer name is),
// trimmed of surrounding blanks and control characters.
QString LocalComputerName();

// The login name of the current user in capitals; "Unknown" when the system cannot say.
QString LocalLoginName();

// The last IPv4 address that the resolver lists for the workstation's host name, in dotted
// decimal form; empty when the name does not resolve.
QString LocalIpAddress();

// Rounds value half away from zero to `decimals` places (1 or more), working on its decimal
// text written from at most `precision` significant digits, so that 1.2345675, which binary
// floating point holds as 1.23456749999…, still rounds up. The result is the double nearest to
// the rounded decimal. Magnitudes with `precision` or more integer digits come back unchanged.
double RoundHalfUp(int precision, int decimals, double value);

}  // namespace md::util
