#pragma once

#include "platform/data/FieldNames.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <vector>

namespace brantock::platform {

// A record set filter such as "Time = '8:00 AM' " or
// "(ActiveFrom < 480 AND ActiveTo > 540) OR (ActiveFrom >= 480 AND ActiveFrom <= 540)":
// comparisons of a field (a name, or a name in brackets) with a number or a quoted text,
// operators = <> < > <= >=, joined by AND and OR (AND binding closer) and grouped in
// parentheses. Texts compare without regard to case; a text against a number compares as
// numbers when the text is one. A null value matches nothing.
class FilterCriteria {
public:
    // Raises the bad-filter error for text it cannot read, the no-field error for a name
    // that names no field.
    static FilterCriteria parse(const QString& text, const FieldNames& fields);

    bool matches(const QVariantList& row) const;

private:
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
    struct Node {
        enum Kind { And, Or, Compare } kind = Compare;
        std::vector<Node> children;
        int field = -1;
        Op op = Op::Equal;
        QVariant literal;
    };
    class Parser;

    static bool evaluate(const Node& node, const QVariantList& row);
    static bool compare(const QVariant& value, Op op, const QVariant& literal);

    Node root_;
};

} // namespace brantock::platform
