#pragma once

#include "store/FieldDef.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

namespace store {

// A row filter of the form used throughout the system: comparisons of a field with a value,
// joined by "and" — "RECORD_TYPE = '0'", "CD >= 01000 and CD < 01100". A value in quotes is text;
// an unquoted one is a number or a code and is compared as the field's type requires.
class FilterExpression
{
public:
    // Parses the text against the fields; false, with a message, on a malformed expression or an
    // unknown field. An empty text parses to a filter that accepts every row.
    bool parse(const QString& text, const QList<FieldDef>& fields, QString* error);

    // True when the row's stored values pass every comparison.
    bool accepts(const std::function<QVariant(int)>& valueOf) const;

    bool isEmpty() const { return m_terms.isEmpty(); }

private:
    enum class Op { Eq, Ne, Lt, Le, Gt, Ge };
    struct Term
    {
        int field = -1;
        Op op = Op::Eq;
        QVariant value; // in the field's stored form
    };
    QList<Term> m_terms;
};

} // namespace store
