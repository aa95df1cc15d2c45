#pragma once

#include <QString>

#include <ostream>

// Readable failures: texts print as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
