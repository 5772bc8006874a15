#pragma once
// A sample object for newcomers and for screenshots: a fictional liquefied-gas depot.

#include <QString>

namespace zarnel {

class Connection;

inline constexpr const char* kDemoObjectName = "Склад сжиженных углеводородных газов \"Северный\"";

// Adds the sample object with its scenarios and indicators (sanitary losses = severe + light); returns its key.
qint16 WriteDemoObject(Connection& c);

} // namespace zarnel
