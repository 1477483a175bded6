#include "store/FilterExpression.h"

namespace store {

namespace {

// Splits the expression into tokens: names, quoted texts (kept with their quotes), operators.
bool tokenize(const QString& text, QStringList* tokens, QString* error)
{
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'')) {
            QString literal = QStringLiteral("'");
            ++i;
            bool closed = false;
            while (i < text.size()) {
                if (text.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\'')) {
                        literal += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                literal += text.at(i++);
            }
            if (!closed) {
                *error = QStringLiteral("閉じていない引用符があります: %1").arg(text);
                return false;
            }
            tokens->append(literal + QLatin1Char('\''));
        } else if (QStringLiteral("<>=").contains(c)) {
            QString op(c);
            ++i;
            if (i < text.size() && (text.at(i) == QLatin1Char('=') || (c == QLatin1Char('<') && text.at(i) == QLatin1Char('>')))) {
                op += text.at(i);
                ++i;
            }
            tokens->append(op);
        } else {
            QString word;
            while (i < text.size() && !text.at(i).isSpace() && !QStringLiteral("<>='").contains(text.at(i)))
                word += text.at(i++);
            tokens->append(word);
        }
    }
    return true;
}

} // namespace

bool FilterExpression::parse(const QString& text, const QList<FieldDef>& fields, QString* error)
{
    m_terms.clear();
    QStringList tokens;
    QString message;
    if (!tokenize(text, &tokens, &message)) {
        if (error)
            *error = message;
        return false;
    }
    const auto fail = [&](const QString& why) {
        m_terms.clear();
        if (error)
            *error = QStringLiteral("フィルタ \"%1\" を解釈できません: %2").arg(text, why);
        return false;
    };
    QList<Term> terms;
    int i = 0;
    while (i < tokens.size()) {
        if (i + 2 >= tokens.size())
            return fail(QStringLiteral("比較が不完全です"));
        Term term;
        for (int f = 0; f < fields.size(); ++f) {
            if (fields.at(f).name.compare(tokens.at(i), Qt::CaseInsensitive) == 0)
                term.field = f;
        }
        if (term.field < 0)
            return fail(QStringLiteral("項目 %1 がありません").arg(tokens.at(i)));
        const QString op = tokens.at(i + 1);
        if (op == QLatin1String("="))
            term.op = Op::Eq;
        else if (op == QLatin1String("<>"))
            term.op = Op::Ne;
        else if (op == QLatin1String("<"))
            term.op = Op::Lt;
        else if (op == QLatin1String("<="))
            term.op = Op::Le;
        else if (op == QLatin1String(">"))
            term.op = Op::Gt;
        else if (op == QLatin1String(">="))
            term.op = Op::Ge;
        else
            return fail(QStringLiteral("演算子 %1 は使えません").arg(op));
        QString literal = tokens.at(i + 2);
        if (literal.startsWith(QLatin1Char('\'')))
            literal = literal.mid(1, literal.size() - 2);
        FieldDef def = fields.at(term.field);
        if (def.type == FieldType::Lookup)
            def.type = FieldType::Text;
        def.width = 0; // compare with the literal as written
        QString why;
        if (!convertText(def, literal, &term.value, &why))
            return fail(why);
        terms.append(term);
        i += 3;
        if (i < tokens.size()) {
            if (tokens.at(i).compare(QLatin1String("and"), Qt::CaseInsensitive) != 0)
                return fail(QStringLiteral("%1 の代わりに and が必要です").arg(tokens.at(i)));
            ++i;
            if (i >= tokens.size())
                return fail(QStringLiteral("and の後に比較がありません"));
        }
    }
    m_terms = terms;
    return true;
}

bool FilterExpression::accepts(const std::function<QVariant(int)>& valueOf) const
{
    for (const Term& term : m_terms) {
        const QVariant value = valueOf(term.field);
        if (!value.isValid() || value.isNull()) {
            // A null field passes only "<> value" and "= ''".
            const bool emptyLiteral = !term.value.isValid();
            if ((term.op == Op::Eq && emptyLiteral) || (term.op == Op::Ne && !emptyLiteral))
                continue;
            return false;
        }
        const int c = compareValues(value, term.value);
        bool ok = false;
        switch (term.op) {
        case Op::Eq: ok = c == 0; break;
        case Op::Ne: ok = c != 0; break;
        case Op::Lt: ok = c < 0; break;
        case Op::Le: ok = c <= 0; break;
        case Op::Gt: ok = c > 0; break;
        case Op::Ge: ok = c >= 0; break;
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace store
