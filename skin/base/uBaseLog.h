#pragma once
// The library's process-wide debug log. Every line goes to the debugger
// output (standard error on POSIX, each line prefixed with "[BriselUI] " so it
// can be filtered); a file sink "log/BriselUI.log" beside the executable exists
// but is off unless switched on. Tests and tools add sinks of their own.

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TBaseLog {
 public:
  using TLogSink = std::function<void(const QString& ALine)>;

  // Removes its sink when it goes out of scope.
  class SinkRegistration {
   public:
    SinkRegistration() = default;
    SinkRegistration(SinkRegistration&& AOther) noexcept;
    SinkRegistration& operator=(SinkRegistration&& AOther) noexcept;
    SinkRegistration(const SinkRegistration&) = delete;
    SinkRegistration& operator=(const SinkRegistration&) = delete;
    ~SinkRegistration();

   private:
    friend class TBaseLog;
    explicit SinkRegistration(int AId) : FId(AId) {}
    int FId = 0;
  };

  // The one log of the process, created on first use.
  static TBaseLog& Instance();

  // Writes one line to every sink.
  void OutputDebugString(const QString& ALine);

  // Writes the exception line: "YYYY-MM-DD HH:MM:SS:ZZZ Exception:<message>
  // Unit:<unit> Method:<method> Pos:<pos>".
  void HandleException(const QString& AMessage, const QString& AUnit, const QString& AMethod,
                       const QString& APos);
  static QString FormatExceptionLine(const QDateTime& ATime, const QString& AMessage,
                                     const QString& AUnit, const QString& AMethod, const QString& APos);

  [[nodiscard]] SinkRegistration AddSink(TLogSink ASink);

  bool IsWriteToFile() const;
  void SetWriteToFile(bool AValue);
  // The file the file sink appends to: "log/BriselUI.log" beside the executable.
  static QString LogFilePath();

  bool IsWriteToDebugger() const;
  void SetWriteToDebugger(bool AValue);

 private:
  TBaseLog() = default;
  void RemoveSink(int AId);
  void AppendToFile(const QString& ALine);

  mutable std::mutex FLock;
  std::vector<std::pair<int, TLogSink>> FSinks;
  int FNextSinkId = 1;
  bool FWriteToFile = false;
  bool FWriteToDebugger = true;
};
