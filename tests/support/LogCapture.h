#pragma once
// Records every line written to the library's debug log while it lives.

#include "skin/base/uBaseLog.h"

#include <QStringList>

class LogCapture {
 public:
  LogCapture()
      : FRegistration(TBaseLog::Instance().AddSink([this](const QString& ALine) { FLines.append(ALine); })) {}

  const QStringList& Lines() const { return FLines; }

 private:
  QStringList FLines;
  TBaseLog::SinkRegistration FRegistration;
};
