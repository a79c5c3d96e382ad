#pragma once
// Value types of the reader's base library and their conversions to Qt types.
// Page units are millimetres from the top-left corner of the unrotated page, y down;
// scene units are integer pixels of the view's scene.

#include <QByteArray>
#include <QMetaType>
#include <QRectF>
#include <QString>
#include <string>

struct CCA_GRect {
    float left = 0, top = 0, right = 0, bottom = 0;
    CCA_GRect() = default;
    CCA_GRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    bool IsEmpty() const { return !(right > left) || !(bottom > top); }
    bool operator==(const CCA_GRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CCA_GRect& o) const { return !(*this == o); }
};

struct CCA_GPoint {
    float x = 0, y = 0;
    CCA_GPoint() = default;
    CCA_GPoint(float x_, float y_) : x(x_), y(y_) {}
    bool operator==(const CCA_GPoint& o) const { return x == o.x && y == o.y; }
};

struct CCA_GSize {
    float width = 0, height = 0;
    CCA_GSize() = default;
    CCA_GSize(float w, float h) : width(w), height(h) {}
    bool operator==(const CCA_GSize& o) const { return width == o.width && height == o.height; }
};

struct CCA_Point {
    int x = 0, y = 0;
    CCA_Point() = default;
    CCA_Point(int x_, int y_) : x(x_), y(y_) {}
    bool operator==(const CCA_Point& o) const { return x == o.x && y == o.y; }
};

// A 2-D affine matrix mapping page millimetres to device pixels:
// x' = a·x + c·y + e, y' = b·x + d·y + f.
struct CCA_Matrix {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

// Byte string holding UTF-8 (or, where a call says so, local 8-bit) text.
class CCA_String {
public:
    CCA_String() = default;
    CCA_String(const char* s) : m_data(s ? s : "") {}
    CCA_String(const char* s, int len) : m_data(s ? std::string(s, size_t(len)) : std::string()) {}
    CCA_String(const std::string& s) : m_data(s) {}
    const char* c_str() const { return m_data.c_str(); }
    operator const char*() const { return m_data.c_str(); }
    int GetLength() const { return int(m_data.size()); }
    bool IsEmpty() const { return m_data.empty(); }
    const std::string& str() const { return m_data; }
    bool operator==(const CCA_String& o) const { return m_data == o.m_data; }
    bool operator==(const char* o) const { return m_data == (o ? o : ""); }
    bool operator!=(const CCA_String& o) const { return m_data != o.m_data; }
    bool operator!=(const char* o) const { return !(*this == o); }

private:
    std::string m_data;
};

// Wide string (UTF-32 on Linux, UTF-16 on Windows, as wchar_t is).
class CCA_WString {
public:
    CCA_WString() = default;
    CCA_WString(const wchar_t* s) : m_data(s ? s : L"") {}
    CCA_WString(const std::wstring& s) : m_data(s) {}
    const wchar_t* c_str() const { return m_data.c_str(); }
    operator const wchar_t*() const { return m_data.c_str(); }
    int GetLength() const { return int(m_data.size()); }
    bool IsEmpty() const { return m_data.empty(); }
    const std::wstring& str() const { return m_data; }
    bool operator==(const CCA_WString& o) const { return m_data == o.m_data; }

private:
    std::wstring m_data;
};

namespace CCA_StringConverter {
CCA_WString utf8_to_unicode(const char* utf8);
CCA_String unicode_to_utf8(const wchar_t* wide);
}

QString GQ_ToQString(const CCA_String& s);          // bytes read as UTF-8
QString GQ_ToQString(const CCA_WString& s);
QString GQ_ToQStringFromUtf8(const CCA_String& s);
// asLocal8Bit = true encodes in the local 8-bit code page (file-system calls), else UTF-8.
CCA_String GQ_ToCAS(const QString& s, bool asLocal8Bit = false);
CCA_WString GQ_ToCAWS(const QString& s);
CCA_GRect GQ_ToCAGRect(const QRectF& r);
QRectF GQ_ToQRectF(const CCA_GRect& r);

// Points (1/72 inch) to millimetres.
inline float POINT2OFD(float pt) { return pt * 25.4f / 72.0f; }

Q_DECLARE_METATYPE(CCA_GRect)
Q_DECLARE_METATYPE(CCA_GPoint)
Q_DECLARE_METATYPE(CCA_GSize)
Q_DECLARE_METATYPE(CCA_Point)
