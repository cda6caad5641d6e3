// Qt's QAbstractItemModelTester over a model for the lifetime of the
// object, its findings turned into test failures.
//
// Header only: the test program links Qt6::Test.
#pragma once

#include <gtest/gtest.h>
#include <memory>

#include <QAbstractItemModelTester>
#include <QString>
#include <QStringList>

namespace testenv {

// Checks the model after each change it reports (rows inserted, removed,
// reset, data and header changed) until destroyed; every complaint of the
// tester fails the running test with its text.
class ScopedModelTester {
 public:
  explicit ScopedModelTester(QAbstractItemModel* AModel)
  {
    previous() = qInstallMessageHandler(&ScopedModelTester::handler);
    FTester =
        std::make_unique<QAbstractItemModelTester>(AModel, QAbstractItemModelTester::FailureReportingMode::Warning);
  }
  ~ScopedModelTester()
  {
    FTester.reset();
    qInstallMessageHandler(previous());
  }
  ScopedModelTester(const ScopedModelTester&) = delete;
  ScopedModelTester& operator=(const ScopedModelTester&) = delete;

 private:
  static void handler(QtMsgType AType, const QMessageLogContext& AContext, const QString& AText)
  {
    if (AContext.category && QString::fromLatin1(AContext.category) == QLatin1String("qt.modeltest") &&
        AType != QtDebugMsg && AType != QtInfoMsg)
      ADD_FAILURE() << "model tester: " << AText.toStdString();
    else if (previous())
      previous()(AType, AContext, AText);
  }
  static QtMessageHandler& previous()
  {
    static QtMessageHandler h = nullptr;
    return h;
  }

  std::unique_ptr<QAbstractItemModelTester> FTester;
};

}  // namespace testenv
