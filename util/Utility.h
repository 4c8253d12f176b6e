#pragma once

// Workstation facts for the error log and the error mail, and the decimal rounding that the
// exchange-rate window applies to rates. Free functions without state.

#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace md::util {

// The workstation's computer name (at most 15 characters, as the Windows computer name is),
// trimmed of surrounding blanks and control characters.
QString LocalComputerName();

// The login name of the current user in capitals; "Unknown" when the system cannot say.
QString LocalLoginName();

// The last IPv4 address that the resolver lists for the workstation's host name, in dotted
// decimal form; empty when the name does not resolve.
QString LocalIpAddress();

// The IPv4 addresses a host name resolves to (each as a number, 127.0.0.1 is 0x7f000001), in the
// order the resolver lists them; empty when the name does not resolve.
using HostResolver = std::function<std::vector<quint32>(const QString& hostName)>;
// The system's resolver.
std::vector<quint32> ResolveHost(const QString& hostName);
// LocalIpAddress with the resolver given: the last address `resolve` lists for the workstation's
// host name, empty when it lists none.
QString LocalIpAddress(const HostResolver& resolve);
// The workstation's host name as the resolver is asked for it (at most 63 characters).
QString LocalHostName();

// Rounds value half away from zero to `decimals` places (1 or more), working on its decimal
// text written from at most `precision` significant digits, so that 1.2345675, which binary
// floating point holds as 1.23456749999…, still rounds up. The result is the double nearest to
// the rounded decimal. Magnitudes with `precision` or more integer digits come back unchanged.
double RoundHalfUp(int precision, int decimals, double value);

}  // namespace md::util
