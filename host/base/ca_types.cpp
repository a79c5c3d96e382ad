#include "ca_types.h"

namespace CCA_StringConverter {
CCA_WString utf8_to_unicode(const char* utf8)
{
    return CCA_WString(QString::fromUtf8(utf8 ? utf8 : "").toStdWString());
}
CCA_String unicode_to_utf8(const wchar_t* wide)
{
    return CCA_String(QString::fromWCharArray(wide ? wide : L"").toUtf8().toStdString());
}
} // namespace CCA_StringConverter

QString GQ_ToQString(const CCA_String& s) { return QString::fromUtf8(s.c_str(), s.GetLength()); }
QString GQ_ToQString(const CCA_WString& s) { return QString::fromStdWString(s.str()); }
QString GQ_ToQStringFromUtf8(const CCA_String& s) { return GQ_ToQString(s); }

CCA_String GQ_ToCAS(const QString& s, bool asLocal8Bit)
{
    const QByteArray bytes = asLocal8Bit ? s.toLocal8Bit() : s.toUtf8();
    return CCA_String(bytes.constData(), bytes.size());
}

CCA_WString GQ_ToCAWS(const QString& s) { return CCA_WString(s.toStdWString()); }

CCA_GRect GQ_ToCAGRect(const QRectF& r)
{
    return CCA_GRect(float(r.left()), float(r.top()), float(r.right()), float(r.bottom()));
}

QRectF GQ_ToQRectF(const CCA_GRect& r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}
