#pragma once
// Lets GoogleTest print Qt strings readably in failure messages.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& AValue, std::ostream* AOut) { *AOut << '"' << AValue.toStdString() << '"'; }
inline void PrintTo(const QByteArray& AValue, std::ostream* AOut) { *AOut << AValue.toHex(' ').toStdString(); }
inline void PrintTo(const QStringList& AValue, std::ostream* AOut) {
  *AOut << '[';
  for (qsizetype i = 0; i < AValue.size(); ++i) *AOut << (i ? ", \"" : "\"") << AValue[i].toStdString() << '"';
  *AOut << ']';
}
