// The shared data-layer suite: what every window relies on of Query, Connection, StoredProc and
// SqlScript, run against each backend of backendsUnderTest().

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlScript.h"
#include "data/StoredProc.h"
#include "data/backend/DbError.h"
#include "data/embedded/ProcedureRegistry.h"
#include "tests/data/BackendContext.h"

#include <gtest/gtest.h>

using namespace md::data;
using md::testing::BackendContext;

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

const UpdateSql kItemUpdates{
    {s("Insert Into Item (Id, Code, Name, Price) Values (:Id, :Code, :Name, :Price)")},
    {s("Update Item Set Code = :Code, Name = :Name, Price = :Price Where Id = :OLD_Id")},
    {s("Delete From Item Where Id = :OLD_Id")}};

class DataLayer : public ::testing::TestWithParam<BackendContext> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        db_ = GetParam().freshDatabase(dir_);
        exec(
            s("Create Table Item (Id integer not null primary key, Code varchar(10) not null, "
              "Name varchar(40), Price float, Made datetime)"));
        exec(s("Create Unique Index IX_Item_Code On Item (Code)"));
    }

    qint64 exec(const QString& sql) { return Query(db_.get(), {sql}).execSql(); }

    void addItem(int id, const QString& code, const QString& name, double price) {
        Query q(db_.get(), {s("Insert Into Item (Id, Code, Name, Price) Values (:Id, :Code, "
                              ":Name, :Price)")});
        q.paramByName(s("Id")).setAsInteger(id);
        q.paramByName(s("Code")).setAsString(code);
        q.paramByName(s("Name")).setAsString(name);
        q.paramByName(s("Price")).setAsFloat(price);
        q.execSql();
    }

    int countWhere(const QString& condition) {
        Query q(db_.get(), {s("Select Count(*) As N From Item Where ") + condition});
        q.open();
        return int(q.fieldByName(s("N")).asInteger());
    }

    QTemporaryDir dir_;
    std::unique_ptr<Connection> db_;
};

TEST_P(DataLayer, ReadsTypedFieldsByNameWithoutRegardToCase) {
    Query ins(db_.get(), {s("Insert Into Item (Id, Code, Name, Price, Made) Values (:Id, :Code, "
                            ":Name, :Price, :Made)")});
    ins.paramByName(s("Id")).setAsInteger(7);
    ins.paramByName(s("Code")).setAsString(s("A01"));
    ins.paramByName(s("Name")).setAsString(s("ค่าขนส่งทางเรือ"));
    ins.paramByName(s("Price")).setAsFloat(12.5);
    ins.paramByName(s("Made")).setAsDateTime(QDateTime(QDate(2026, 12, 31), QTime(0, 0)));
    EXPECT_EQ(ins.execSql(), 1);
    addItem(8, s("A02"), QString(), 0);
    exec(s("Update Item Set Name = NULL Where Id = 8"));

    Query q(db_.get(), {s("Select Id, Code, Name, Price, Made From Item"), s("Order By Id")});
    q.open();
    ASSERT_FALSE(q.isEmpty());
    EXPECT_EQ(q.fieldByName(s("ID")).asInteger(), 7);
    EXPECT_EQ(q.fieldByName(s("code")).asString(), s("A01"));
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("ค่าขนส่งทางเรือ"));
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Price")).asFloat(), 12.5);
    EXPECT_EQ(q.fieldByName(s("Made")).asDateTime().date(), QDate(2026, 12, 31));
    EXPECT_EQ(q.fieldByName(s("Made")).asString(), s("31/12/2026"));
    q.next();
    EXPECT_TRUE(q.fieldByName(s("Name")).isNull());
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), QString());
    EXPECT_TRUE(q.fieldByName(s("Made")).isNull());
    EXPECT_FALSE(q.fieldByName(s("Made")).asDateTime().isValid());
    if (GetParam().quirks.reportsColumnSizes) {
        EXPECT_EQ(q.fieldByName(s("Code")).size(), 10);
        EXPECT_EQ(q.fieldByName(s("Name")).size(), 40);
    }
}

TEST_P(DataLayer, SecondColumnOfTheSameNameIsNameUnderscoreOne) {
    addItem(1, s("A01"), s("one"), 1);
    Query q(db_.get(), {s("Select I.Code, J.Code, I.Name From Item I Inner Join Item J On J.Id = "
                          "I.Id")});
    q.open();
    EXPECT_EQ(q.fieldByName(s("Code")).asString(), s("A01"));
    EXPECT_EQ(q.fieldByName(s("Code_1")).asString(), s("A01"));
    EXPECT_EQ(q.findField(s("Missing")), nullptr);
    try {
        q.fieldByName(s("Missing"));
        FAIL() << "an absent field must throw";
    } catch (const UsageError& e) {
        EXPECT_TRUE(e.message().contains(s("Missing")));
    }
}

TEST_P(DataLayer, UnsetParameterIsAnErrorNamingItNotASilentNull) {
    Query q(db_.get(), {s("Select * From Item Where Code = :GetCode And Name Like :GetName")});
    q.paramByName(s("GetCode")).setAsString(s("A"));
    try {
        q.open();
        FAIL() << "open with an unset parameter must throw";
    } catch (const UsageError& e) {
        EXPECT_TRUE(e.message().contains(s("GetName")));
    }
    EXPECT_FALSE(q.isOpen());
}

TEST_P(DataLayer, TextThatLooksLikeAParameterInsideALiteralStaysText) {
    addItem(1, s("A:1"), s("x"), 1);
    Query q(db_.get(), {s("Select Code From Item Where Code = 'A:1' And Name = :N")});
    ASSERT_EQ(q.params().count(), 1);
    q.paramByName(s("N")).setAsString(s("x"));
    q.open();
    EXPECT_EQ(q.fieldByName(s("Code")).asString(), s("A:1"));
}

TEST_P(DataLayer, FetchesRowsLazilyAndNavigates) {
    {
        TransactionGuard tx(*db_);
        for (int i = 1; i <= 3000; ++i) {
            addItem(i, QStringLiteral("C%1").arg(i, 5, 10, QLatin1Char('0')), s("n"), i);
        }
        tx.commit();
    }
    Query q(db_.get(), {s("Select Id, Code From Item Order By Code")});
    q.open();
    EXPECT_LE(q.fetchedCount(), 1) << "opening must not read the whole result";
    EXPECT_TRUE(q.bof());
    for (int i = 0; i < 10; ++i)
        q.next();
    EXPECT_EQ(q.fieldByName(s("Id")).asInteger(), 11);
    EXPECT_LE(q.fetchedCount(), 11);
    EXPECT_FALSE(q.allFetched());
    q.prior();
    EXPECT_EQ(q.fieldByName(s("Id")).asInteger(), 10);
    q.last();
    EXPECT_TRUE(q.allFetched());
    EXPECT_EQ(q.fieldByName(s("Id")).asInteger(), 3000);
    q.next();
    EXPECT_TRUE(q.eof());
    q.first();
    EXPECT_EQ(q.fieldByName(s("Id")).asInteger(), 1);
    EXPECT_EQ(q.recordCount(), 3000);

    Query once(db_.get(), {s("Select Id From Item Order By Id")});
    once.setUniDirectional(true);
    once.open();
    int seen = 0;
    while (!once.eof()) {
        ++seen;
        once.next();
        EXPECT_LE(once.fetchedCount(), 1) << "a uni-directional query keeps one row";
    }
    EXPECT_EQ(seen, 3000);
}

TEST_P(DataLayer, EmptyResultIsEofAndBofAndEditingItStartsANewRow) {
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Where Id = -1")});
    int newRecords = 0;
    q.onNewRecord = [&](Query& self) {
        ++newRecords;
        self.fieldByName(s("Price")).setAsFloat(1.0);
    };
    q.open();
    EXPECT_TRUE(q.isEmpty());
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.bof());
    EXPECT_TRUE(q.fieldByName(s("Code")).isNull());
    EXPECT_THROW(q.fieldByName(s("Code")).setAsString(s("X")), UsageError);
    q.edit();
    EXPECT_EQ(q.state(), DataSetState::Insert);
    EXPECT_EQ(newRecords, 1);
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Price")).asFloat(), 1.0);
}

TEST_P(DataLayer, AppliesBufferedChangesWithNewAndOldValues) {
    addItem(1, s("A01"), s("one"), 1);
    addItem(2, s("A02"), s("two"), 2);
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Order By Id")});
    q.open();
    q.edit();
    // The key itself changes: the modify statement finds the row by its value as read.
    q.fieldByName(s("Id")).setAsInteger(10);
    q.fieldByName(s("Code")).setAsString(s("B01"));
    q.post();
    q.next();
    q.deleteRecord();
    q.append();
    q.fieldByName(s("Id")).setAsInteger(3);
    q.fieldByName(s("Code")).setAsString(s("A03"));
    q.fieldByName(s("Name")).setAsString(s("สาม"));
    q.post();
    EXPECT_TRUE(q.updatesPending());

    UpdateSql updates = kItemUpdates;
    updates.modifySql = {s("Update Item Set Id = :Id, Code = :Code Where Id = :OLD_Id")};
    TransactionGuard tx(*db_);
    q.applyUpdates(updates);
    tx.commit();
    q.commitUpdates();
    EXPECT_FALSE(q.updatesPending());

    EXPECT_EQ(countWhere(s("Id = 10 And Code = 'B01'")), 1);
    EXPECT_EQ(countWhere(s("Id = 2")), 0);
    EXPECT_EQ(countWhere(s("Id = 3 And Name = 'สาม'")), 1);
    EXPECT_EQ(countWhere(s("1 = 1")), 2);
}

TEST_P(DataLayer, FailedApplyLeavesTheBufferIntactForAnotherTry) {
    addItem(1, s("A01"), s("one"), 1);
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Where Id = -1")});
    q.open();
    q.append();
    q.fieldByName(s("Id")).setAsInteger(2);
    q.fieldByName(s("Code")).setAsString(s("A01"));  // duplicate code: the server refuses
    q.fieldByName(s("Name")).setAsString(s("ชื่อที่พิมพ์ไว้"));
    q.post();
    {
        TransactionGuard tx(*db_);
        EXPECT_THROW(q.applyUpdates(kItemUpdates), DbError);
    }  // the guard rolls back
    EXPECT_FALSE(db_->inTransaction());
    EXPECT_TRUE(q.updatesPending());
    EXPECT_EQ(q.updateStatus(), UpdateStatus::Inserted);
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("ชื่อที่พิมพ์ไว้"));

    q.edit();
    q.fieldByName(s("Code")).setAsString(s("A02"));
    q.post();
    TransactionGuard tx(*db_);
    q.applyUpdates(kItemUpdates);
    tx.commit();
    q.commitUpdates();
    EXPECT_EQ(countWhere(s("1 = 1")), 2);
    EXPECT_EQ(countWhere(s("Code = 'A02' And Id = 2")), 1);
}

TEST_P(DataLayer, ErrorCarriesTheServerTextAndTheStatement) {
    addItem(1, s("A01"), s("one"), 1);
    try {
        addItem(2, s("A01"), s("dup"), 1);
        FAIL() << "a duplicate must be refused";
    } catch (const DbError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_EQ(e.category(), md::data::ErrorCategory::Constraint);
        EXPECT_TRUE(e.statement().contains(s("Insert Into Item")));
    }
    EXPECT_EQ(countWhere(s("1 = 1")), 1);
}

TEST_P(DataLayer, OpeningABatchRaisesItsFailedStatementEvenWithAResultAfterIt) {
    addItem(1, s("A01"), s("one"), 1);
    Query q(db_.get(), {s("Insert Into Item (Id, Code, Name, Price) Values (2, 'A01', 'dup', 1)"),
                        s("Select Code From Item")});
    try {
        q.open();
        FAIL() << "the duplicate was reported as success";
    } catch (const DbError& e) {
        // (The SQLite ODBC driver gives a batch's constraint failure no constraint SQLSTATE.)
        EXPECT_TRUE(e.statement().contains(s("Insert Into Item")));
    }
    EXPECT_FALSE(q.isOpen());
    EXPECT_EQ(countWhere(s("1 = 1")), 1);
}

TEST_P(DataLayer, CancelRestoresEditsAndCancelUpdatesRestoresEverything) {
    addItem(1, s("A01"), s("one"), 1);
    addItem(2, s("A02"), s("two"), 2);
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Order By Id")});
    q.open();
    q.edit();
    q.fieldByName(s("Name")).setAsString(s("changed"));
    q.cancel();
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("one"));
    EXPECT_FALSE(q.updatesPending());

    q.edit();
    q.fieldByName(s("Name")).setAsString(s("changed"));
    q.post();
    EXPECT_EQ(q.fieldByName(s("Name")).oldValue().toString(), s("one"));
    q.append();
    q.fieldByName(s("Id")).setAsInteger(3);
    q.post();
    q.first();
    q.next();
    q.deleteRecord();
    q.cancelUpdates();
    EXPECT_FALSE(q.updatesPending());
    EXPECT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("one"));
}

TEST_P(DataLayer, AnEditChangedBackIsNoChangeAndAWrittenRowReadsAsItsNewValues) {
    addItem(1, s("A01"), s("one"), 1);
    addItem(2, s("A02"), s("two"), 2);
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Order By Id")});
    q.open();
    q.edit();
    q.fieldByName(s("Name")).setAsString(s("typed"));
    EXPECT_TRUE(q.updatesPending());
    q.fieldByName(s("Name")).setAsString(s("one"));
    q.post();
    EXPECT_EQ(q.updateStatus(), UpdateStatus::Unmodified);
    EXPECT_FALSE(q.updatesPending());

    q.next();
    q.edit();
    q.fieldByName(s("Price")).setAsFloat(2.5);
    q.post();
    EXPECT_EQ(q.updateStatus(), UpdateStatus::Modified);
    EXPECT_DOUBLE_EQ(q.valueAt(1, q.fieldByName(s("Price")).index()).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Price")).oldValue().toDouble(), 2.0);
    // Moving away and back keeps both the entry and the value as read.
    q.first();
    q.next();
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Price")).asFloat(), 2.5);
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Price")).oldValue().toDouble(), 2.0);

    TransactionGuard tx(*db_);
    q.applyUpdates(kItemUpdates);
    tx.commit();
    q.commitUpdates();
    EXPECT_EQ(q.updateStatus(), UpdateStatus::Unmodified);
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Price")).oldValue().toDouble(), 2.5);
    EXPECT_EQ(countWhere(s("Id = 2 And Price = 2.5")), 1);
    // The next change finds the row by what was written, not by what was first read.
    q.edit();
    q.fieldByName(s("Id")).setAsInteger(20);
    q.post();
    TransactionGuard again(*db_);
    q.applyUpdates(UpdateSql{
        {}, {s("Update Item Set Id = :Id Where Id = :OLD_Id And Price = :OLD_Price")}, {}});
    again.commit();
    q.commitUpdates();
    EXPECT_EQ(countWhere(s("Id = 20")), 1);
}

TEST_P(DataLayer, FailedApplyKeepsModifiedAndDeletedRowsWithTheirValuesAsRead) {
    addItem(1, s("A01"), s("one"), 1);
    addItem(2, s("A02"), s("two"), 2);
    addItem(3, s("A03"), s("three"), 3);
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Order By Id")});
    q.open();
    q.edit();
    q.fieldByName(s("Name")).setAsString(s("หนึ่ง"));
    q.post();
    q.next();
    q.deleteRecord();  // row 3 becomes current
    q.edit();
    q.fieldByName(s("Code")).setAsString(s("A01"));  // duplicate code: the server refuses
    q.post();
    {
        TransactionGuard tx(*db_);
        EXPECT_THROW(q.applyUpdates(kItemUpdates), DbError);
    }
    EXPECT_EQ(countWhere(s("1 = 1")), 3);
    EXPECT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q.updateStatus(), UpdateStatus::Modified);
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("หนึ่ง"));
    EXPECT_EQ(q.fieldByName(s("Name")).oldValue().toString(), s("one"));
    q.next();
    EXPECT_EQ(q.fieldByName(s("Code")).asString(), s("A01"));
    EXPECT_EQ(q.fieldByName(s("Code")).oldValue().toString(), s("A03"));

    q.edit();
    q.fieldByName(s("Code")).setAsString(s("A33"));
    q.post();
    TransactionGuard tx(*db_);
    q.applyUpdates(kItemUpdates);
    tx.commit();
    q.commitUpdates();
    EXPECT_EQ(countWhere(s("Id = 1 And Name = 'หนึ่ง'")), 1);
    EXPECT_EQ(countWhere(s("Id = 2")), 0);
    EXPECT_EQ(countWhere(s("Id = 3 And Code = 'A33'")), 1);
}

TEST_P(DataLayer, AUniDirectionalRowKeepsItsValuesAsReadWhenEdited) {
    addItem(1, s("A01"), s("one"), 1);
    addItem(2, s("A02"), s("two"), 2);
    Query q(db_.get(), {s("Select Id, Code, Name, Price From Item Order By Id")});
    q.setUniDirectional(true);
    q.open();
    q.edit();
    q.fieldByName(s("Name")).setAsString(s("changed"));
    EXPECT_EQ(q.fieldByName(s("Name")).oldValue().toString(), s("one"));
    q.cancel();
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("one"));
    EXPECT_FALSE(q.updatesPending());
    q.edit();
    q.fieldByName(s("Name")).setAsString(s("changed"));
    q.post();
    EXPECT_EQ(q.updateStatus(), UpdateStatus::Modified);
    EXPECT_EQ(q.fieldByName(s("Name")).oldValue().toString(), s("one"));
    q.next();
    EXPECT_EQ(q.fieldByName(s("Name")).asString(), s("two"));
    EXPECT_EQ(q.fieldByName(s("Name")).oldValue().toString(), s("two"));
    q.next();
    EXPECT_TRUE(q.eof());
}

// A uni-directional query reads each row over the one before: nulls, empty texts and values
// after nulls come out as they were stored, and a value the program kept stays as it was.
TEST_P(DataLayer, AUniDirectionalQueryReadsEachRowOverTheLastAsItWas) {
    exec(
        s("Create Table Counted (Id int not null primary key, Qty int null, Note varchar(20) "
          "null)"));
    exec(s("Insert Into Counted (Id, Qty, Note) Values (1, 5, 'ห้า')"));
    exec(s("Insert Into Counted (Id, Qty, Note) Values (2, Null, Null)"));
    exec(s("Insert Into Counted (Id, Qty, Note) Values (3, 7, '')"));
    exec(s("Insert Into Counted (Id, Qty, Note) Values (4, 8, 'eight')"));
    Query q(db_.get(), {s("Select Id, Qty, Note From Counted Order By Id")});
    q.setUniDirectional(true);
    q.open();
    const QVariant keptQty = q.fieldByName(s("Qty")).value();
    const QVariant keptNote = q.fieldByName(s("Note")).value();
    q.next();
    EXPECT_EQ(q.fieldByName(s("Id")).asInteger(), 2);
    EXPECT_TRUE(q.fieldByName(s("Qty")).isNull());
    EXPECT_TRUE(q.fieldByName(s("Note")).isNull());
    EXPECT_EQ(q.fieldByName(s("Note")).value().typeId(), QMetaType::QString);
    q.next();
    EXPECT_EQ(q.fieldByName(s("Qty")).asInteger(), 7);
    EXPECT_FALSE(q.fieldByName(s("Qty")).isNull());
    EXPECT_FALSE(q.fieldByName(s("Note")).isNull()) << "an empty text is no null";
    EXPECT_TRUE(q.fieldByName(s("Note")).value().toString().isEmpty());
    q.next();
    EXPECT_EQ(q.fieldByName(s("Qty")).asInteger(), 8);
    EXPECT_EQ(q.fieldByName(s("Note")).asString(), s("eight"));
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.fieldByName(s("Id")).asInteger(), 4) << "the last row stays current at the end";
    EXPECT_EQ(q.fieldByName(s("Note")).asString(), s("eight"));
    EXPECT_EQ(keptQty.toLongLong(), 5);
    EXPECT_EQ(keptNote.toString(), s("ห้า"));
}

TEST_P(DataLayer, RowEventsFire) {
    addItem(1, s("A01"), s("one"), 1);
    addItem(2, s("A02"), s("two"), 2);
    Query q(db_.get(), {s("Select Id From Item Order By Id")});
    int opened = 0, closing = 0, scrolled = 0;
    q.afterOpen = [&](Query&) { ++opened; };
    q.beforeClose = [&](Query&) { ++closing; };
    q.afterScroll = [&](Query&) { ++scrolled; };
    q.open();
    q.next();
    q.close();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closing, 1);
    EXPECT_EQ(scrolled, 2);
}

TEST_P(DataLayer, TransactionGuardRollsBackUnlessCommitted) {
    {
        TransactionGuard tx(*db_);
        addItem(1, s("A01"), s("one"), 1);
        EXPECT_TRUE(db_->inTransaction());
    }
    EXPECT_EQ(countWhere(s("1 = 1")), 0);
    {
        TransactionGuard tx(*db_);
        addItem(1, s("A01"), s("one"), 1);
        tx.commit();
    }
    EXPECT_EQ(countWhere(s("1 = 1")), 1);
}

TEST_P(DataLayer, ScriptStopsAtTheFailingStatementKeepingEarlierOnes) {
    SqlScript script(db_.get(), {s("Insert Into Item (Id, Code) Values (1, :C)"), s("/"), s("/"),
                                 s("Insert Into Item (Id, Code) Values (2, :C)"), s("/"),
                                 s("Insert Into Item (Id, Code) Values (3, 'X3')")});
    script.paramByName(s("C")).setAsString(s("SAME"));
    EXPECT_THROW(script.execute(), DbError);
    EXPECT_EQ(countWhere(s("Id = 1")), 1);
    EXPECT_EQ(countWhere(s("Id = 3")), 0) << "statements after the failure do not run";
}

TEST_P(DataLayer, ConnectHooksRunAndAFailingAfterConnectLeavesItClosed) {
    const QStringList real = db_->params();
    int before = 0;
    db_->params().clear();
    db_->beforeConnect = [&](Connection& c) {
        ++before;
        c.params() = real;
    };
    db_->afterConnect = [&](Connection& c) {
        Query(&c, {s("Select Count(*) From NoSuchTable")}).open();
    };
    db_->close();
    EXPECT_THROW(db_->open(), DbError);
    EXPECT_FALSE(db_->isConnected());
    db_->afterConnect = nullptr;
    db_->open();
    EXPECT_TRUE(db_->isConnected());
    EXPECT_EQ(before, 2);
}

TEST_P(DataLayer, StoredProcedureOutputsAndResultValue) {
    if (!GetParam().quirks.outputParameters)
        GTEST_SKIP() << "backend has no output parameters";
    md::embedded::ProcedureRegistry::instance().add(
        s("TestDouble"),
        {{s("@In"), QMetaType::LongLong, false, true},
         {s("@Out"), QMetaType::LongLong, true, false},
         {s("@Text"), QMetaType::QString, true, false}},
        [](Session&, md::embedded::ProcedureCall& call) {
            call.out(s("@Out"), QVariant(call.in(s("@In")).toLongLong() * 2));
            call.out(s("@Text"), QVariant(s("สองเท่า")));
            return 5;
        });
    StoredProc sp(db_.get(), s("TestDouble"));
    sp.setInteger(s("@In"), 21);
    sp.declareOutput(s("@Out"), QMetaType::LongLong);
    sp.declareOutput(s("@Text"), QMetaType::QString, 20);
    sp.execProc();
    EXPECT_EQ(sp.asInteger(s("@Out")), 42);
    EXPECT_EQ(sp.asString(s("@Text")), s("สองเท่า"));
    EXPECT_EQ(sp.result(), 5);

    StoredProc missing(db_.get(), s("TestDouble"));
    missing.declareOutput(s("@Out"), QMetaType::LongLong);
    try {
        missing.execProc();
        FAIL() << "a missing input must be refused";
    } catch (const DbError& e) {
        EXPECT_EQ(e.nativeError(), 201);
        EXPECT_TRUE(e.message().contains(s("expects parameter '@In'")));
    }
}

TEST_P(DataLayer, DecimalsReachTheProgramWithTheirScale) {
    exec(
        s("Create Table Amount (Id integer not null primary key, Price decimal(18,2), "
          "Rate decimal(20,6), Qty decimal(18,4))"));
    Query ins(db_.get(), {s("Insert Into Amount (Id, Price, Rate, Qty) Values (:Id, :Price, :Rate, "
                            ":Qty)")});
    const auto add = [&](int id, const QVariant& price, const QVariant& rate, const QVariant& qty) {
        ins.paramByName(s("Id")).setAsInteger(id);
        ins.paramByName(s("Price")).setValue(price);
        ins.paramByName(s("Rate")).setValue(rate);
        ins.paramByName(s("Qty")).setValue(qty);
        ins.execSql();
    };
    add(1, 10, 35.5, QVariant::fromValue(*Decimal::parse(u"0.1")));
    add(2, 10.005, 35.9172968, 0.2);
    add(3, -10.005, s("-0.0000005"), s("0.00005"));

    Query q(db_.get(), {s("Select Id, Price, Rate, Qty From Amount Order By Id")});
    q.open();
    EXPECT_DOUBLE_EQ(q.fieldByName(s("Rate")).asFloat(), 35.5);
    EXPECT_EQ(q.fieldByName(s("Qty")).asDecimal(), *Decimal::parse(u"0.1"));
    if (!GetParam().quirks.reportsDecimalScale)
        return;
    EXPECT_EQ(q.fieldByName(s("Price")).asString(), s("10.00"));
    EXPECT_EQ(q.fieldByName(s("Rate")).asString(), s("35.500000"));
    EXPECT_EQ(q.fieldByName(s("Price")).asDecimal(), *Decimal::parse(u"10"));
    EXPECT_EQ(q.fieldByName(s("Qty")).value().toString(), s("0.1000"));
    EXPECT_EQ(q.fieldByName(s("Price")).info().scale, 2);
    if (!GetParam().quirks.exactDecimals)
        return;
    // Rounded half away from zero on the way in, whatever the parameter's type.
    q.next();
    EXPECT_EQ(q.fieldByName(s("Price")).asString(), s("10.01"));
    EXPECT_EQ(q.fieldByName(s("Rate")).asString(), s("35.917297"));
    q.next();
    EXPECT_EQ(q.fieldByName(s("Price")).asString(), s("-10.01"));
    EXPECT_EQ(q.fieldByName(s("Rate")).asString(), s("-0.000001"));
    EXPECT_EQ(q.fieldByName(s("Qty")).asString(), s("0.0001"));

    // Kept in the buffer, read again after every row was fetched, edited and cancelled.
    q.last();
    q.first();
    EXPECT_EQ(q.valueAt(1, q.fieldByName(s("Price")).index()).toString(), s("10.01"));
    EXPECT_EQ(q.fieldByName(s("Qty")).value().value<Decimal>().scale(), 4);
    q.edit();
    q.fieldByName(s("Qty")).setAsDecimal(*Decimal::parse(u"2.5"));
    EXPECT_EQ(q.fieldByName(s("Qty")).oldValue().toString(), s("0.1000"));
    q.cancel();
    EXPECT_EQ(q.fieldByName(s("Qty")).asString(), s("0.1000"));
    q.last();

    Query sum(db_.get(),
              {s("Select Sum(Qty) As Total From Amount Where Id < 3 Having Sum(Qty) = 0.3")});
    sum.open();
    ASSERT_FALSE(sum.isEmpty());
    EXPECT_EQ(sum.fieldByName(s("Total")).asString(), s("0.3000"));

    try {
        add(4, 1e17, 0, 0);
        FAIL() << "a value too long for decimal(18,2) must be refused";
    } catch (const DbError& e) {
        EXPECT_EQ(e.nativeError(), 8115);
        EXPECT_EQ(e.sqlState(), s("22003"));
    }
    try {
        add(4, s("12,5"), 0, 0);
        FAIL() << "a text that is no number must be refused";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), s("Error converting data type nvarchar to numeric."));
    }
    EXPECT_EQ(Query(db_.get(), {s("Delete From Amount Where Id = 4")}).execSql(), 0);

    // The whole range of each column, every digit kept, in and out.
    add(5, QVariant::fromValue(*Decimal::parse(u"9999999999999999.99")),
        s("-99999999999999.999999"), s("12345678901234.5678"));
    Query wide(db_.get(), {s("Select Price, Rate, Qty, Price - 0.01 As Less From Amount "
                             "Where Id = 5 And Qty = 12345678901234.5678")});
    wide.open();
    ASSERT_FALSE(wide.isEmpty());
    EXPECT_EQ(wide.fieldByName(s("Price")).asString(), s("9999999999999999.99"));
    EXPECT_EQ(wide.fieldByName(s("Rate")).asDecimal(), *Decimal::parse(u"-99999999999999.999999"));
    EXPECT_EQ(wide.fieldByName(s("Qty")).asString(), s("12345678901234.5678"));
    EXPECT_EQ(wide.fieldByName(s("Less")).asString(), s("9999999999999999.98"));
}

INSTANTIATE_TEST_SUITE_P(Backends, DataLayer, ::testing::ValuesIn(md::testing::backendsUnderTest()),
                         [](const auto& info) { return info.param.name.toStdString(); });

}  // namespace
