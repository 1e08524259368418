#include "skin/base/uBaseLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

TBaseLog::SinkRegistration::SinkRegistration(SinkRegistration&& AOther) noexcept : FId(AOther.FId) {
  AOther.FId = 0;
}

TBaseLog::SinkRegistration& TBaseLog::SinkRegistration::operator=(SinkRegistration&& AOther) noexcept {
  if (this != &AOther) {
    if (FId != 0) TBaseLog::Instance().RemoveSink(FId);
    FId = AOther.FId;
    AOther.FId = 0;
  }
  return *this;
}

TBaseLog::SinkRegistration::~SinkRegistration() {
  if (FId != 0) TBaseLog::Instance().RemoveSink(FId);
}

TBaseLog& TBaseLog::Instance() {
  static TBaseLog log;
  return log;
}

void TBaseLog::OutputDebugString(const QString& ALine) {
  std::vector<TLogSink> sinks;
  bool toDebugger = false;
  bool toFile = false;
  {
    const std::lock_guard guard(FLock);
    sinks.reserve(FSinks.size());
    for (const auto& entry : FSinks) sinks.push_back(entry.second);
    toDebugger = FWriteToDebugger;
    toFile = FWriteToFile;
  }
  if (toDebugger) {
    const QByteArray utf8 = ALine.toUtf8();
    std::fprintf(stderr, "[BriselUI] %.*s\n", static_cast<int>(utf8.size()), utf8.constData());
  }
  if (toFile) AppendToFile(ALine);
  // Sinks run outside the lock so that one may log or unregister itself.
  for (const auto& sink : sinks) sink(ALine);
}

QString TBaseLog::FormatExceptionLine(const QDateTime& ATime, const QString& AMessage, const QString& AUnit,
                                      const QString& AMethod, const QString& APos) {
  return ATime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss:zzz")) + QStringLiteral(" Exception:") + AMessage +
         QStringLiteral(" Unit:") + AUnit + QStringLiteral(" Method:") + AMethod + QStringLiteral(" Pos:") + APos;
}

void TBaseLog::HandleException(const QString& AMessage, const QString& AUnit, const QString& AMethod,
                               const QString& APos) {
  OutputDebugString(FormatExceptionLine(QDateTime::currentDateTime(), AMessage, AUnit, AMethod, APos));
}

TBaseLog::SinkRegistration TBaseLog::AddSink(TLogSink ASink) {
  const std::lock_guard guard(FLock);
  const int id = FNextSinkId++;
  FSinks.emplace_back(id, std::move(ASink));
  return SinkRegistration(id);
}

void TBaseLog::RemoveSink(int AId) {
  const std::lock_guard guard(FLock);
  std::erase_if(FSinks, [AId](const auto& entry) { return entry.first == AId; });
}

bool TBaseLog::IsWriteToFile() const {
  const std::lock_guard guard(FLock);
  return FWriteToFile;
}

void TBaseLog::SetWriteToFile(bool AValue) {
  const std::lock_guard guard(FLock);
  FWriteToFile = AValue;
}

bool TBaseLog::IsWriteToDebugger() const {
  const std::lock_guard guard(FLock);
  return FWriteToDebugger;
}

void TBaseLog::SetWriteToDebugger(bool AValue) {
  const std::lock_guard guard(FLock);
  FWriteToDebugger = AValue;
}

QString TBaseLog::LogFilePath() {
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  const QString dir = exe.exists() ? QFileInfo(exe.symLinkTarget()).absolutePath() : QDir::currentPath();
  return dir + QStringLiteral("/log/BriselUI.log");
}

void TBaseLog::AppendToFile(const QString& ALine) {
  const QString path = LogFilePath();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (file.open(QIODevice::Append | QIODevice::Text)) file.write(ALine.toUtf8() + '\n');
}
