#include "data/Field.h"

#include "data/Query.h"
#include "data/backend/DbError.h"

namespace md::data {
namespace {

QDateTime parseDateTime(const QString& s) {
    for (const char* fmt : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss",
                            "yyyy-MM-dd", "dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy"}) {
        QDateTime d = QDateTime::fromString(s.trimmed(), QString::fromLatin1(fmt));
        if (d.isValid())
            return d;
    }
    return {};
}

}  // namespace

QVariant Field::value() const {
    const Query::Row* row = query_->currentRow();
    return row ? row->value(index_) : QVariant(QMetaType(info_.type));
}

QVariant Field::oldValue() const {
    const Query::Row* row = query_->currentRow();
    return row ? row->original(index_) : QVariant();
}

bool Field::isNull() const {
    return value().isNull();
}

QString Field::asString() const {
    const QVariant v = value();
    return v.isNull() ? QString() : displayText(v);
}

qint64 Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.toLongLong();
    if (v.typeId() == QMetaType::Double)
        return qint64(v.toDouble());
    bool ok = false;
    const qint64 n = v.toString().trimmed().toLongLong(&ok);
    if (!ok) {
        throw UsageError(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                             .arg(v.toString(), name_));
    }
    return n;
}

double Field::asFloat() const {
    const QVariant v = value();
    if (v.isNull())
        return 0.0;
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>().toDouble();
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)
        return v.toDouble();
    if (!ok) {
        throw UsageError(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                             .arg(v.toString(), name_));
    }
    return d;
}

Decimal Field::asDecimal() const {
    const QVariant v = value();
    if (v.isNull())
        return Decimal();
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>();
    std::optional<Decimal> d;
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        d = Decimal::fromDouble(v.toDouble());
    else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
        d = Decimal::fromInteger(v.toLongLong());
    else
        d = Decimal::parse(v.toString());
    if (!d) {
        throw UsageError(QStringLiteral("'%1' is not a valid decimal value for field '%2'")
                             .arg(v.toString(), name_));
    }
    return *d;
}

QDateTime Field::asDateTime() const {
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().startOfDay();
    const QDateTime d = parseDateTime(v.toString());
    if (!d.isValid()) {
        throw UsageError(QStringLiteral("'%1' is not a valid date and time for field '%2'")
                             .arg(v.toString(), name_));
    }
    return d;
}

void Field::setValue(const QVariant& v) {
    query_->requireEditing(*this);
    if (!isBindableValue(v)) {
        throw UsageError(QStringLiteral("Field '%1' cannot take a value of type %2")
                             .arg(name_, QString::fromLatin1(v.typeName())));
    }
    query_->currentRow()->set(index_, v);
}

void Field::setAsDateTime(const QDateTime& v) {
    setValue(v.isValid() ? QVariant(v) : QVariant(QMetaType(QMetaType::QDateTime)));
}

void Field::clear() {
    setValue(QVariant(
        QMetaType(info_.type == QMetaType::UnknownType ? QMetaType::QString : info_.type)));
}

QString displayText(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>().toString();
    switch (v.typeId()) {
        case QMetaType::QDateTime: {
            const QDateTime d = v.toDateTime();
            if (d.time() == QTime(0, 0))
                return d.toString(QStringLiteral("dd/MM/yyyy"));
            return d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        }
        case QMetaType::QDate:
            return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(v.toDouble(), 'g', 15);
        default:
            return v.toString();
    }
}

}  // namespace md::data
