#include "data/PackedRow.h"

#include "data/backend/Decimal.h"

#include <QDateTime>
#include <QString>

#include <cstring>
#include <new>
#include <stdexcept>

namespace md::data {
namespace {

// How a cell is kept. Numbers, booleans, null markers and decimals of up to 16 digits live in
// the slot; texts, wider decimals and objects live in the tail, the slot giving where.
enum Kind : unsigned char {
    Invalid,       // QVariant()
    Null,          // a typed null: slot = the type's id
    LongLong,      // slot = the value
    Int,           // slot = the value
    Double,        // slot = the value
    Bool,          // slot = 0 or 1
    Paged,         // a text whose characters past ASCII all lie in one block of 128 (Latin-1's
                   // upper half, Thai, ...), one byte each: slot = PagedSlot
    Utf16,         // any other text: slot = offset, length in UTF-16 units
    NullText,      // a QString that is null (not the same as a typed null)
    SmallDecimal,  // slot = units << 8 | scale
    WideDecimal,   // slot = offset of the 16 bytes of units and the scale byte
    DateTime,      // a QDateTime placed in the tail: slot = offset
    Other,         // any other value, a QVariant placed in the tail: slot = offset
};

struct Header {
    quint16 count;    // SQLite returns at most 32767 columns
    quint16 objects;  // cells holding a placed object, which must be copied and destroyed
    quint32 bytes;    // size of the whole block
};
static_assert(sizeof(Header) == 8);

struct TextSlot {
    quint32 offset;
    quint32 length;
};

// Offset, length and the block of 128 characters that bytes 0x80 to 0xff stand for (bits 7 to
// 15 of those characters), in one slot.
constexpr int kPageBits = 9;
constexpr quint64 kMaxPagedLength = (quint64(1) << (32 - kPageBits)) - 1;

struct PagedSlot {
    quint32 offset;
    quint32 lengthAndPage;  // length << kPageBits | page
};

constexpr size_t kSlot = 8;
constexpr size_t kWideDecimal = sizeof(Decimal::Units) + 1;
// Units of a decimal that leave the low byte of a 64-bit slot to the scale.
constexpr qint64 kSmallUnits = qint64(1) << 55;

constexpr size_t align8(size_t n) {
    return (n + 7) & ~size_t(7);
}

size_t slotsOffset(size_t count) {
    return align8(sizeof(Header) + count);
}

// The block of 128 characters every non-ASCII character of `s` lies in (1, Latin-1's upper
// half, for a text that is all ASCII); -1 when they lie in several or the text is too long.
int pageOf(QStringView s) {
    if (quint64(s.size()) > kMaxPagedLength)
        return -1;
    int page = -1;
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            continue;
        if (page < 0)
            page = u >> 7;
        else if (page != u >> 7)
            return -1;
    }
    return page < 0 ? 1 : page;
}

const QString& textOf(const QVariant& v) {
    return *static_cast<const QString*>(v.constData());
}

const Decimal& decimalOf(const QVariant& v) {
    return *static_cast<const Decimal*>(v.constData());
}

Kind kindOf(const QVariant& v) {
    if (!v.isValid())
        return Invalid;
    if (v.isNull())
        return Null;
    const QMetaType type = v.metaType();
    if (type == QMetaType::fromType<Decimal>()) {
        const Decimal::Units u = decimalOf(v).units();
        return u >= -kSmallUnits && u < kSmallUnits ? SmallDecimal : WideDecimal;
    }
    switch (type.id()) {
        case QMetaType::LongLong:
            return LongLong;
        case QMetaType::Int:
            return Int;
        case QMetaType::Double:
            return Double;
        case QMetaType::Bool:
            return Bool;
        case QMetaType::QString: {
            const QString& s = textOf(v);
            if (s.isNull())
                return NullText;
            return pageOf(s) >= 0 ? Paged : Utf16;
        }
        case QMetaType::QDateTime:
            return DateTime;
        default:
            return Other;
    }
}

bool isObject(Kind k) {
    return k == DateTime || k == Other;
}

template <typename T>
void putSlot(unsigned char* slot, const T& value) {
    static_assert(sizeof(T) <= kSlot);
    std::memcpy(slot, &value, sizeof(T));
}

template <typename T>
T getSlot(const unsigned char* slot) {
    T value;
    std::memcpy(&value, slot, sizeof(T));
    return value;
}

// Copies the placed object of cell `i` from `from` into the same place of `to`.
void copyObject(Kind k, const unsigned char* from, unsigned char* to) {
    if (k == DateTime)
        new (to) QDateTime(*reinterpret_cast<const QDateTime*>(from));
    else
        new (to) QVariant(*reinterpret_cast<const QVariant*>(from));
}

bool identical(const QVariant& a, const QVariant& b) {
    const Kind k = kindOf(a);
    if (k != kindOf(b) || a.metaType() != b.metaType())
        return false;
    if (k == SmallDecimal || k == WideDecimal)
        return decimalOf(a) == decimalOf(b) && decimalOf(a).scale() == decimalOf(b).scale();
    if (k == DateTime)
        return a == b && a.toDateTime().timeSpec() == b.toDateTime().timeSpec();
    return k == Null || k == Invalid || a == b;
}

}  // namespace

PackedRow::PackedRow(const std::vector<QVariant>& values) {
    const size_t count = values.size();
    if (count > 0xFFFF)
        throw std::length_error("a row of more than 65535 columns");
    // First the sizes of the tail's three parts: objects (8-byte aligned), UTF-16 texts (2-byte
    // aligned), then bytes.
    size_t objects = 0;
    size_t objectBytes = 0;
    size_t utf16Bytes = 0;
    size_t byteBytes = 0;
    std::vector<Kind> kinds(count);
    for (size_t i = 0; i < count; ++i) {
        const Kind k = kindOf(values[i]);
        kinds[i] = k;
        switch (k) {
            case DateTime:
                ++objects;
                objectBytes += align8(sizeof(QDateTime));
                break;
            case Other:
                ++objects;
                objectBytes += align8(sizeof(QVariant));
                break;
            case Utf16:
                utf16Bytes += size_t(textOf(values[i]).size()) * sizeof(char16_t);
                break;
            case Paged:
                byteBytes += size_t(textOf(values[i]).size());
                break;
            case WideDecimal:
                byteBytes += kWideDecimal;
                break;
            default:
                break;
        }
    }
    const size_t slotBase = slotsOffset(count);
    size_t objectAt = slotBase + count * kSlot;
    size_t utf16At = objectAt + objectBytes;
    size_t byteAt = utf16At + utf16Bytes;
    const size_t bytes = byteAt + byteBytes;

    block_ = static_cast<unsigned char*>(::operator new(bytes));
    std::memset(block_, 0, slotBase + count * kSlot);
    auto* header = reinterpret_cast<Header*>(block_);
    header->count = quint16(count);
    header->objects = quint16(objects);
    header->bytes = quint32(bytes);
    for (size_t i = 0; i < count; ++i) {
        const QVariant& v = values[i];
        const Kind k = kinds[i];
        block_[sizeof(Header) + i] = k;
        unsigned char* slot = block_ + slotBase + i * kSlot;
        switch (k) {
            case Invalid:
            case NullText:
                break;
            case Null:
                putSlot(slot, qint32(v.typeId()));
                break;
            case LongLong:
                putSlot(slot, v.toLongLong());
                break;
            case Int:
                putSlot(slot, v.toInt());
                break;
            case Double:
                putSlot(slot, v.toDouble());
                break;
            case Bool:
                putSlot(slot, qint64(v.toBool()));
                break;
            case Paged: {
                const QString& str = textOf(v);
                const qsizetype n = str.size();
                const auto page = quint32(pageOf(str));
                unsigned char* out = block_ + byteAt;
                const char16_t* in = reinterpret_cast<const char16_t*>(str.constData());
                for (qsizetype c = 0; c < n; ++c)
                    out[c] =
                        static_cast<unsigned char>(in[c] < 0x80 ? in[c] : 0x80 | (in[c] & 0x7f));
                putSlot(slot, PagedSlot{quint32(byteAt), quint32(n) << kPageBits | page});
                byteAt += size_t(n);
                break;
            }
            case Utf16: {
                const QString& s = textOf(v);
                std::memcpy(block_ + utf16At, s.constData(), size_t(s.size()) * sizeof(char16_t));
                putSlot(slot, TextSlot{quint32(utf16At), quint32(s.size())});
                utf16At += size_t(s.size()) * sizeof(char16_t);
                break;
            }
            case SmallDecimal: {
                const Decimal& d = decimalOf(v);
                putSlot(slot, qint64(d.units()) * 256 + d.scale());
                break;
            }
            case WideDecimal: {
                const Decimal& d = decimalOf(v);
                const Decimal::Units u = d.units();
                std::memcpy(block_ + byteAt, &u, sizeof u);
                block_[byteAt + sizeof u] = static_cast<unsigned char>(d.scale());
                putSlot(slot, quint32(byteAt));
                byteAt += kWideDecimal;
                break;
            }
            case DateTime:
                new (block_ + objectAt) QDateTime(*static_cast<const QDateTime*>(v.constData()));
                putSlot(slot, quint32(objectAt));
                objectAt += align8(sizeof(QDateTime));
                break;
            case Other:
                new (block_ + objectAt) QVariant(v);
                putSlot(slot, quint32(objectAt));
                objectAt += align8(sizeof(QVariant));
                break;
        }
    }
}

PackedRow::PackedRow(const PackedRow& other) {
    if (!other.block_)
        return;
    const auto* header = reinterpret_cast<const Header*>(other.block_);
    block_ = static_cast<unsigned char*>(::operator new(header->bytes));
    std::memcpy(block_, other.block_, header->bytes);
    if (header->objects == 0)
        return;
    const size_t slotBase = slotsOffset(header->count);
    for (size_t i = 0; i < header->count; ++i) {
        const auto k = Kind(block_[sizeof(Header) + i]);
        if (isObject(k)) {
            const auto at = getSlot<quint32>(block_ + slotBase + i * kSlot);
            copyObject(k, other.block_ + at, block_ + at);
        }
    }
}

PackedRow& PackedRow::operator=(const PackedRow& other) {
    if (this != &other) {
        PackedRow copy(other);
        *this = std::move(copy);
    }
    return *this;
}

PackedRow& PackedRow::operator=(PackedRow&& other) noexcept {
    if (this != &other) {
        release();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

PackedRow::~PackedRow() {
    release();
}

void PackedRow::release() {
    if (!block_)
        return;
    const auto* header = reinterpret_cast<const Header*>(block_);
    if (header->objects > 0) {
        const size_t slotBase = slotsOffset(header->count);
        for (size_t i = 0; i < header->count; ++i) {
            const auto k = Kind(block_[sizeof(Header) + i]);
            if (!isObject(k))
                continue;
            unsigned char* at = block_ + getSlot<quint32>(block_ + slotBase + i * kSlot);
            if (k == DateTime)
                reinterpret_cast<QDateTime*>(at)->~QDateTime();
            else
                reinterpret_cast<QVariant*>(at)->~QVariant();
        }
    }
    ::operator delete(block_);
    block_ = nullptr;
}

int PackedRow::size() const {
    return block_ ? int(reinterpret_cast<const Header*>(block_)->count) : 0;
}

QVariant PackedRow::value(int column) const {
    if (column < 0 || column >= size())
        return {};
    const auto count = size_t(size());
    const auto k = Kind(block_[sizeof(Header) + size_t(column)]);
    const unsigned char* slot = block_ + slotsOffset(count) + size_t(column) * kSlot;
    switch (k) {
        case Invalid:
            return {};
        case Null:
            return QVariant(QMetaType(getSlot<qint32>(slot)));
        case LongLong:
            return QVariant(qlonglong(getSlot<qint64>(slot)));
        case Int:
            return QVariant(getSlot<int>(slot));
        case Double:
            return QVariant(getSlot<double>(slot));
        case Bool:
            return QVariant(getSlot<qint64>(slot) != 0);
        case Paged: {
            const auto t = getSlot<PagedSlot>(slot);
            const auto n = qsizetype(t.lengthAndPage >> kPageBits);
            const auto high = char16_t((t.lengthAndPage & ((1u << kPageBits) - 1)) << 7);
            const unsigned char* in = block_ + t.offset;
            QString text(n, Qt::Uninitialized);
            auto* out = reinterpret_cast<char16_t*>(text.data());
            for (qsizetype c = 0; c < n; ++c)
                out[c] = in[c] < 0x80 ? char16_t(in[c]) : char16_t(high | (in[c] & 0x7f));
            return QVariant(std::move(text));
        }
        case Utf16: {
            const auto t = getSlot<TextSlot>(slot);
            return QVariant(
                QString(reinterpret_cast<const QChar*>(block_ + t.offset), qsizetype(t.length)));
        }
        case NullText:
            return QVariant(QString());
        case SmallDecimal: {
            const auto packed = getSlot<qint64>(slot);
            // The shift is arithmetic: negative units come back negative.
            return QVariant::fromValue(Decimal(Decimal::Units(packed >> 8), int(packed & 0xff)));
        }
        case WideDecimal: {
            const unsigned char* at = block_ + getSlot<quint32>(slot);
            Decimal::Units u;
            std::memcpy(&u, at, sizeof u);
            return QVariant::fromValue(Decimal(u, int(at[sizeof u])));
        }
        case DateTime:
            return QVariant(*reinterpret_cast<const QDateTime*>(block_ + getSlot<quint32>(slot)));
        case Other:
            return *reinterpret_cast<const QVariant*>(block_ + getSlot<quint32>(slot));
    }
    return {};
}

std::vector<QVariant> PackedRow::values() const {
    std::vector<QVariant> out;
    const int n = size();
    out.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        out.push_back(value(i));
    return out;
}

bool PackedRow::equals(const std::vector<QVariant>& values) const {
    if (size_t(size()) != values.size())
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (value(int(i)) != values[i])
            return false;
    }
    return true;
}

bool PackedRow::holds(const std::vector<QVariant>& values) const {
    if (size_t(size()) != values.size())
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!identical(value(int(i)), values[i]))
            return false;
    }
    return true;
}

}  // namespace md::data
