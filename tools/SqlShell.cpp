#include "tools/SqlShell.h"

#include "data/Connection.h"
#include "data/Field.h"
#include "data/backend/DbError.h"

#include <QFile>
#include <algorithm>

namespace md::tools {
namespace {

QString readServerDat() {
    QFile f(QStringLiteral("Server.Dat"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readLine()).remove(u'\n').remove(u'\r');
}

// The width sqlcmd gives a column: the larger of its name and its type's display size.
int columnWidth(const data::ColumnInfo& c) {
    int size = 0;
    switch (c.type) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            size = 11;
            break;
        case QMetaType::Double:
            size = 24;
            break;
        case QMetaType::QDateTime:
            size = 23;
            break;
        default:
            size = c.size > 0 ? c.size : 0;
    }
    return std::max<int>(size, int(c.name.size()));
}

QString cellText(const QVariant& v) {
    if (v.isNull())
        return QStringLiteral("NULL");
    switch (v.typeId()) {
        case QMetaType::QDateTime:
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        case QMetaType::Double:
            return QString::number(v.toDouble(), 'g', 15);
        case QMetaType::QByteArray:
            return QStringLiteral("0x") + QString::fromLatin1(v.toByteArray().toHex().toUpper());
        default:
            return v.toString();
    }
}

bool isNumeric(const data::ColumnInfo& c) {
    return c.type == QMetaType::LongLong || c.type == QMetaType::Int || c.type == QMetaType::Double;
}

class Printer {
  public:
    Printer(const SqlShellOptions& o, QTextStream& out) : o_(o), out_(out) {}

    void line(const std::vector<QString>& cells, const std::vector<int>& widths,
              const std::vector<bool>& right) {
        QString text;
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i)
                text += o_.separator;
            if (o_.trimTrailing) {
                QString cell = cells[i];
                while (cell.endsWith(u' '))
                    cell.chop(1);
                text += cell;
            } else if (right[i]) {
                text += cells[i].rightJustified(widths[i]);
            } else {
                text += cells[i].leftJustified(widths[i]);
            }
        }
        if (o_.trimTrailing) {
            while (text.endsWith(u' '))
                text.chop(1);
        }
        out_ << text << '\n';
    }

    void result(data::ResultSet& rs) {
        const auto& cols = rs.columns();
        std::vector<int> widths;
        std::vector<bool> right;
        std::vector<QString> names;
        for (const auto& c : cols) {
            widths.push_back(columnWidth(c));
            right.push_back(isNumeric(c));
            names.push_back(c.name);
        }
        if (o_.headers) {
            line(names, widths, std::vector<bool>(cols.size(), false));
            std::vector<QString> dashes;
            for (int w : widths)
                dashes.push_back(QString(o_.trimTrailing ? 1 : w, u'-'));
            if (o_.trimTrailing) {
                dashes.clear();
                for (const auto& n : names)
                    dashes.push_back(QString(std::max<qsizetype>(1, n.size()), u'-'));
            }
            line(dashes, widths, std::vector<bool>(cols.size(), false));
        }
        std::vector<QVariant> row;
        qint64 count = 0;
        std::vector<QString> cells;
        while (rs.fetch(row)) {
            cells.clear();
            for (const auto& v : row)
                cells.push_back(cellText(v));
            line(cells, widths, right);
            ++count;
        }
        out_ << '\n' << QStringLiteral("(%1 rows affected)").arg(count) << '\n';
    }

  private:
    const SqlShellOptions& o_;
    QTextStream& out_;
};

void printError(const data::DbError& e, QTextStream& err) {
    err << QStringLiteral("Msg %1, Level %2, State %3, Line %4")
               .arg(e.nativeError())
               .arg(e.level())
               .arg(e.state())
               .arg(1)
        << '\n'
        << e.message() << '\n';
    err.flush();
    // A batch that went on after statement errors reports each of them, in order.
    for (const data::DbError& later : e.laterErrors())
        printError(later, err);
}

}  // namespace

QString parseSqlShellArguments(const QStringList& args, SqlShellOptions& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& target) -> bool {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        bool ok = true;
        if (a == QStringLiteral("-S")) {
            ok = value(o.server);
        } else if (a == QStringLiteral("-d")) {
            ok = value(o.database);
        } else if (a == QStringLiteral("-U")) {
            ok = value(o.user);
        } else if (a == QStringLiteral("-P")) {
            ok = value(o.password);
        } else if (a == QStringLiteral("-Q") || a == QStringLiteral("-q")) {
            if (!o.query.isEmpty())
                return QStringLiteral("Give only one of -Q, -q and -i");
            ok = value(o.query);
            o.interactive = a == QStringLiteral("-q");
        } else if (a == QStringLiteral("-?") || a == QStringLiteral("--help")) {
            o.help = true;
            return {};
        } else if (a == QStringLiteral("--version")) {
            o.version = true;
            return {};
        } else if (a == QStringLiteral("-i")) {
            ok = value(o.inputFile);
        } else if (a == QStringLiteral("-s")) {
            ok = value(o.separator);
        } else if (a == QStringLiteral("-h")) {
            QString h;
            ok = value(h);
            if (ok)
                o.headers = h != QStringLiteral("-1");
        } else if (a == QStringLiteral("-W")) {
            o.trimTrailing = true;
        } else if (a == QStringLiteral("-b")) {
            o.stopOnError = true;
        } else {
            return QStringLiteral("Unknown option '%1'").arg(a);
        }
        if (!ok)
            return QStringLiteral("Option '%1' needs a value").arg(a);
    }
    if (!o.inputFile.isEmpty()) {
        if (!o.query.isEmpty())
            return QStringLiteral("Give only one of -Q, -q and -i");
        o.interactive = false;
    }
    return {};
}

int runSqlShell(const SqlShellOptions& o, BatchSource& batches, QTextStream& out,
                QTextStream& err) {
    data::Connection connection(QStringLiteral("SQLCMD"));
    const QString server = o.server.isEmpty() ? readServerDat() : o.server;
    connection.params() = QStringList{
        QStringLiteral("DATABASE NAME=") + o.database, QStringLiteral("SERVER NAME=") + server,
        QStringLiteral("USER NAME=") + o.user, QStringLiteral("PASSWORD=") + o.password};
    try {
        connection.open();
    } catch (const data::DbError& e) {
        printError(e, err);
        return 1;
    }
    Printer printer(o, out);
    bool failed = false;
    while (const std::optional<QString> batch = batches.next()) {
        try {
            auto rs = connection.session().execute(*batch, {});
            // Each error is printed where it happened, between the results around it.
            auto printErrors = [&](data::ResultSet::ErrorScope scope) {
                for (const data::DbError& e : rs->takeErrors(scope)) {
                    out.flush();
                    printError(e, err);
                    failed = true;
                }
            };
            do {
                printErrors(data::ResultSet::ErrorScope::BeforeCurrentResult);
                if (!rs->columns().empty()) {
                    printer.result(*rs);
                } else if (rs->rowsAffected() >= 0) {
                    out << '\n'
                        << QStringLiteral("(%1 rows affected)").arg(rs->rowsAffected()) << '\n';
                }
            } while (rs->nextResult());
            printErrors(data::ResultSet::ErrorScope::SoFar);
            if (failed && o.stopOnError)
                break;
        } catch (const data::DbError& e) {
            out.flush();
            printError(e, err);
            failed = true;
            if (o.stopOnError)
                break;
        }
        out.flush();
    }
    return failed && o.stopOnError ? 1 : 0;
}

}  // namespace md::tools
