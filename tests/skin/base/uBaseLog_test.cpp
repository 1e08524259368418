#include "skin/base/uBaseLog.h"
#include "tests/support/LogCapture.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(BaseLog, ExceptionLineFormat) {
  const QDateTime t(QDate(2026, 3, 4), QTime(5, 6, 7, 89));
  EXPECT_EQ(TBaseLog::FormatExceptionLine(t, "boom", "uBaseList", "TBaseList.Delete", "1"),
            QStringLiteral("2026-03-04 05:06:07:089 Exception:boom Unit:uBaseList Method:TBaseList.Delete Pos:1"));
}

TEST(BaseLog, SinksReceiveLinesUntilTheyGoAway) {
  LogCapture outer;
  {
    LogCapture inner;
    TBaseLog::Instance().OutputDebugString("one");
    EXPECT_EQ(inner.Lines(), QStringList({"one"}));
  }
  TBaseLog::Instance().OutputDebugString("two");
  EXPECT_EQ(outer.Lines(), QStringList({"one", "two"}));
  EXPECT_FALSE(TBaseLog::Instance().IsWriteToFile());
}
