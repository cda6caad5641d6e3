#include "acccalc/AccCalcEnv.h"

#include "db/DbError.h"

#include <QDebug>

namespace {

class TSilentReporter : public TAccCalcReporter
{
public:
    void ShowCommaMessage(const QString &AText, int ADlgType) override
    {
        qDebug().noquote() << "acccalc message" << ADlgType << AText;
    }
    void ShowFbCalcError(const db::DbError &E, const QString &ATitle) override
    {
        qDebug().noquote() << "acccalc database error" << ATitle << E.gdscode() << E.message();
    }
    void ShowFbError(const db::DbError &E, const QString &AStepName, const QString &AMessage) override
    {
        qDebug().noquote() << "acccalc database error" << AStepName << AMessage << E.gdscode() << E.message();
    }
};

TSilentReporter g_silent;
TAccCalcReporter *g_reporter = nullptr;
TAccCalcDatabase g_database;

} // namespace

TAccCalcReporter &AccCalcReporter()
{
    return g_reporter ? *g_reporter : g_silent;
}

void SetAccCalcReporter(TAccCalcReporter *AReporter)
{
    g_reporter = AReporter;
}

const TAccCalcDatabase &AccCalcDatabase()
{
    return g_database;
}

void SetAccCalcDatabase(const TAccCalcDatabase &ADatabase)
{
    g_database = ADatabase;
}
