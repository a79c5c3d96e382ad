#pragma once
// Named parameters of an operation. Values keep the type they were added with; getters
// convert where it is meaningful and answer missing or unconvertible keys with the
// default or the type's empty value. A later Add replaces the key's value (the key keeps
// its place in Keys).
//
// Conversions: numbers (and text holding a number) read as int (fractions cut toward
// zero), float or bool (non-zero is true; the texts "true"/"false" too); numbers read as
// text; an integer point (CCA_Point) read as a float point and back (rounded); a
// rectangle read as a point gives its top-left corner and read as a size its width and
// height; QPoint(F), QSize(F) and QRect(F) values added with AddVariant read as the
// matching CCA_ type.

#include "../base/ca_types.h"

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <utility>

class G_OperationParam
{
public:
    void Add(const char* key, bool value);
    void Add(const char* key, int value);
    void Add(const char* key, unsigned int value);
    void Add(const char* key, float value);
    void Add(const char* key, double value);
    void Add(const char* key, const QString& value);
    void Add(const char* key, const char* value); // UTF-8, stored as QString
    void Add(const char* key, const CCA_Point& value);
    void Add(const char* key, const CCA_GPoint& value);
    void Add(const char* key, const CCA_GSize& value);
    void Add(const char* key, const CCA_GRect& value);
    void AddVariant(const QString& key, const QVariant& value);

    int GetInt32(const char* key, int defaultValue = 0) const;
    bool GetBool(const char* key, bool defaultValue = false) const;
    float GetFloat(const char* key, float defaultValue = 0) const;
    QString GetQString(const char* key) const;   // empty when missing
    CCA_GPoint GetGPoint(const char* key) const; // (0, 0) when missing
    CCA_GSize GetGSize(const char* key) const;   // (0, 0) when missing
    CCA_GRect GetGRect(const char* key) const;   // (0, 0, 0, 0) when missing
    CCA_Point GetPoint(const char* key) const;   // (0, 0) when missing

    bool Has(const char* key) const;
    void Remove(const char* key);
    void Clear();
    QStringList Keys() const; // in the order first added
    QVariant Value(const QString& key) const;

private:
    int indexOf(const QString& key) const;
    int indexOf(const char* key) const;
    void add(const char* key, QVariant&& value);
    QVector<std::pair<QString, QVariant>> m_values;
};
