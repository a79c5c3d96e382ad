#include "g_operationparam.h"

#include <cmath>

namespace
{

bool isNumber(const QVariant& v)
{
    switch (int(v.type())) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// A number held by `v` (numbers, or text holding one); false when there is none.
bool numberOf(const QVariant& v, double* out)
{
    if (isNumber(v)) {
        *out = v.toDouble();
        return std::isfinite(*out);
    }
    if (v.type() == QVariant::Bool) {
        *out = v.toBool() ? 1 : 0;
        return true;
    }
    if (v.type() == QVariant::String) {
        bool ok = false;
        *out = v.toString().trimmed().toDouble(&ok);
        return ok && std::isfinite(*out);
    }
    return false;
}

bool isAscii(const char* text)
{
    for (const char* c = text; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

int G_OperationParam::indexOf(const QString& key) const
{
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values[i].first == key)
            return i;
    }
    return -1;
}

int G_OperationParam::indexOf(const char* key) const
{
    // Keys are plain ASCII literals: compared in place, without making a string each time.
    if (!isAscii(key))
        return indexOf(QString::fromUtf8(key));
    const QLatin1String ascii(key);
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values[i].first == ascii)
            return i;
    }
    return -1;
}

void G_OperationParam::AddVariant(const QString& key, const QVariant& value)
{
    const int i = indexOf(key);
    if (i >= 0)
        m_values[i].second = value; // replaced in place: Keys keeps the first-added order
    else
        m_values.append({key, value});
}

void G_OperationParam::add(const char* key, QVariant&& value)
{
    // Found by the key as it is; a string is made only for a new key.
    const int i = indexOf(key);
    if (i >= 0) {
        m_values[i].second = std::move(value);
        return;
    }
    if (m_values.isEmpty())
        m_values.reserve(8); // an operation carries a handful of values
    m_values.append(
        {isAscii(key) ? QString::fromLatin1(key) : QString::fromUtf8(key), std::move(value)});
}

void G_OperationParam::Add(const char* key, bool value)
{
    add(key, QVariant(value));
}
void G_OperationParam::Add(const char* key, int value)
{
    add(key, QVariant(value));
}
void G_OperationParam::Add(const char* key, unsigned int value)
{
    add(key, QVariant(value));
}
void G_OperationParam::Add(const char* key, float value)
{
    add(key, QVariant(value));
}
void G_OperationParam::Add(const char* key, double value)
{
    add(key, QVariant(value));
}
void G_OperationParam::Add(const char* key, const QString& value)
{
    add(key, QVariant(value));
}
void G_OperationParam::Add(const char* key, const char* value)
{
    add(key, QVariant(QString::fromUtf8(value ? value : "")));
}
void G_OperationParam::Add(const char* key, const CCA_Point& value)
{
    add(key, QVariant::fromValue(value));
}
void G_OperationParam::Add(const char* key, const CCA_GPoint& value)
{
    add(key, QVariant::fromValue(value));
}
void G_OperationParam::Add(const char* key, const CCA_GSize& value)
{
    add(key, QVariant::fromValue(value));
}
void G_OperationParam::Add(const char* key, const CCA_GRect& value)
{
    add(key, QVariant::fromValue(value));
}

int G_OperationParam::GetInt32(const char* key, int defaultValue) const
{
    const int i = indexOf(key);
    double number = 0;
    if (i < 0 || !numberOf(m_values[i].second, &number))
        return defaultValue;
    if (number > 2147483647.0 || number < -2147483648.0)
        return defaultValue;
    // Whole numbers stay exact; fractions are cut toward zero like a C++ cast.
    return int(number);
}

bool G_OperationParam::GetBool(const char* key, bool defaultValue) const
{
    const int i = indexOf(key);
    if (i < 0)
        return defaultValue;
    const QVariant& v = m_values[i].second;
    if (v.type() == QVariant::String) {
        const QString text = v.toString().trimmed().toLower();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    double number = 0;
    if (!numberOf(v, &number))
        return defaultValue;
    return number != 0;
}

float G_OperationParam::GetFloat(const char* key, float defaultValue) const
{
    const int i = indexOf(key);
    double number = 0;
    if (i < 0 || !numberOf(m_values[i].second, &number))
        return defaultValue;
    return float(number);
}

QString G_OperationParam::GetQString(const char* key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return QString();
    const QVariant& v = m_values[i].second;
    if (v.type() == QVariant::String)
        return v.toString();
    if (v.type() == QVariant::ByteArray)
        return QString::fromUtf8(v.toByteArray());
    if (isNumber(v) || v.type() == QVariant::Bool)
        return v.toString();
    return QString();
}

CCA_GPoint G_OperationParam::GetGPoint(const char* key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return CCA_GPoint();
    const QVariant& v = m_values[i].second;
    if (v.userType() == qMetaTypeId<CCA_GPoint>())
        return v.value<CCA_GPoint>();
    if (v.userType() == qMetaTypeId<CCA_Point>()) {
        const CCA_Point p = v.value<CCA_Point>();
        return CCA_GPoint(float(p.x), float(p.y));
    }
    if (v.userType() == qMetaTypeId<CCA_GRect>()) {
        // A rectangle read as a point is its top-left corner (an anchor rectangle's
        // origin), so "position" may be passed either way.
        const CCA_GRect r = v.value<CCA_GRect>();
        return CCA_GPoint(r.left, r.top);
    }
    if (v.type() == QVariant::PointF || v.type() == QVariant::Point) {
        const QPointF p = v.toPointF();
        return CCA_GPoint(float(p.x()), float(p.y()));
    }
    return CCA_GPoint();
}

CCA_GSize G_OperationParam::GetGSize(const char* key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return CCA_GSize();
    const QVariant& v = m_values[i].second;
    if (v.userType() == qMetaTypeId<CCA_GSize>())
        return v.value<CCA_GSize>();
    if (v.userType() == qMetaTypeId<CCA_GRect>()) {
        const CCA_GRect r = v.value<CCA_GRect>();
        return CCA_GSize(r.Width(), r.Height());
    }
    if (v.type() == QVariant::SizeF || v.type() == QVariant::Size) {
        const QSizeF s = v.toSizeF();
        return CCA_GSize(float(s.width()), float(s.height()));
    }
    return CCA_GSize();
}

CCA_GRect G_OperationParam::GetGRect(const char* key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return CCA_GRect();
    const QVariant& v = m_values[i].second;
    if (v.userType() == qMetaTypeId<CCA_GRect>())
        return v.value<CCA_GRect>();
    if (v.type() == QVariant::RectF || v.type() == QVariant::Rect)
        return GQ_ToCAGRect(v.toRectF());
    return CCA_GRect();
}

CCA_Point G_OperationParam::GetPoint(const char* key) const
{
    const int i = indexOf(key);
    if (i < 0)
        return CCA_Point();
    const QVariant& v = m_values[i].second;
    if (v.userType() == qMetaTypeId<CCA_Point>())
        return v.value<CCA_Point>();
    if (v.type() == QVariant::Point)
        return CCA_Point(v.toPoint().x(), v.toPoint().y());
    const CCA_GPoint g = GetGPoint(key);
    return CCA_Point(int(std::lround(g.x)), int(std::lround(g.y)));
}

bool G_OperationParam::Has(const char* key) const
{
    return indexOf(key) >= 0;
}

void G_OperationParam::Remove(const char* key)
{
    const int i = indexOf(key);
    if (i >= 0)
        m_values.remove(i);
}

void G_OperationParam::Clear()
{
    m_values.clear();
}

QStringList G_OperationParam::Keys() const
{
    QStringList keys;
    keys.reserve(m_values.size());
    for (const auto& entry : m_values)
        keys.append(entry.first);
    return keys;
}

QVariant G_OperationParam::Value(const QString& key) const
{
    const int i = indexOf(key);
    return i >= 0 ? m_values[i].second : QVariant();
}
