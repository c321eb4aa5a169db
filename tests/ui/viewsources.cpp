#include "viewsources.h"

namespace {

void fillTable(TRxMemoryData &t)
{
    t.Open();
    const QString names = QStringLiteral("ABCDE");
    for (int i = 0; i < names.size(); ++i)
        t.AppendRecord(
            {(i + 1) * 10, names.mid(i, 1), QStringLiteral("nota"), QByteArray("\x01\x02")});
    t.First();
}

QStringList &findings()
{
    static QStringList list;
    return list;
}

QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && qstrcmp(context.category, "qt.modeltest") == 0 && type != QtDebugMsg) {
        findings().append(message);
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

MemorySource::MemorySource()
{
    table.FieldDefs.Add(QStringLiteral("CODICE"), ftInteger);
    table.FieldDefs.Add(QStringLiteral("NOME"), ftString, 10);
    table.FieldDefs.Add(QStringLiteral("NOTE"), ftMemo);
    table.FieldDefs.Add(QStringLiteral("DATI"), ftBlob);
    fillTable(table);
}

void MemorySource::reopen()
{
    table.Close();
    fillTable(table);
}

QuerySource::QuerySource()
{
    db.exec(QStringLiteral("CREATE TABLE PROVA (CODICE INTEGER NOT NULL PRIMARY KEY, "
                           "NOME VARCHAR(10), NOTE BLOB SUB_TYPE TEXT, DATI BLOB SUB_TYPE 0)"));
    const QString names = QStringLiteral("ABCDE");
    for (int i = 0; i < names.size(); ++i)
        db.exec(QStringLiteral("INSERT INTO PROVA VALUES (%1, '%2', 'nota', NULL)")
                    .arg((i + 1) * 10)
                    .arg(names[i]));
    update.ModifySQL =
        QStringList{QStringLiteral("UPDATE PROVA SET CODICE=:CODICE, NOME=:NOME, NOTE=:NOTE, "
                                   "DATI=:DATI WHERE CODICE=:OLD_CODICE")};
    update.InsertSQL = QStringList{QStringLiteral(
        "INSERT INTO PROVA (CODICE, NOME, NOTE, DATI) VALUES (:CODICE, :NOME, :NOTE, :DATI)")};
    update.DeleteSQL = QStringList{QStringLiteral("DELETE FROM PROVA WHERE CODICE=:OLD_CODICE")};
    query.setDatabase(&db.db());
    query.setTransaction(&db.tr());
    query.setUpdateObject(&update);
    query.SQL = QStringList{QStringLiteral("SELECT * FROM PROVA ORDER BY CODICE")};
    query.Open();
}

void QuerySource::reopen()
{
    query.Close();
    query.Open();
}

ModelCheck::ModelCheck(QAbstractItemModel *model)
{
    findings().clear();
    previousHandler = qInstallMessageHandler(collect);
    m_tester = std::make_unique<QAbstractItemModelTester>(
        model, QAbstractItemModelTester::FailureReportingMode::Warning);
}

ModelCheck::~ModelCheck()
{
    m_tester.reset();
    qInstallMessageHandler(previousHandler);
}

QStringList ModelCheck::failures() const
{
    return findings();
}
