#include "wizard/RendoFinish.h"

#include "platform/Exceptions.h"

TRendoFinishOutcome fnRendoFinish(TComDataExport& exp, const QString& fileName)
{
  TRendoFinishOutcome r;
  try {
    pcRendoWriteImportFile(exp, fileName);
    r.Created = true;
    r.EndState = 0;
    r.CreatedText = QStringLiteral("中間ファイルが作成されました。\r");
    return r;
  } catch (const EDataExportError& e) {
    r.ExportErrorText = e.Message() + QStringLiteral("\r") + e.Context() + QStringLiteral("\r");
  } catch (const EXmlSaveDocError& e) {
    r.ExceptionText = e.Message();
  } catch (const EPlatformError& e) {
    r.ExceptionText = e.message();
  } catch (const std::exception& e) {
    r.ExceptionText = QString::fromUtf8(e.what());
  } catch (...) {
    r.ExceptionText = QStringLiteral("不明なエラーが発生しました。");
  }
  r.EndState = 2;
  r.FailureText = QStringLiteral("中間ファイルの作成に失敗しました。\r");
  return r;
}
