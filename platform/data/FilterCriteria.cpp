#include "platform/data/FilterCriteria.h"

#include "platform/data/DataError.h"

namespace brantock::platform {

class FilterCriteria::Parser {
public:
    Parser(const QString& text, const FieldNames& fields) : text_(text), fields_(fields) {}

    Node parseAll() {
        Node node = parseOr();
        skipBlanks();
        if (pos_ < text_.size())
            fail(QStringLiteral("unexpected '%1'").arg(text_.mid(pos_)));
        return node;
    }

private:
    [[noreturn]] void fail(const QString& why) const {
        throw DataError::make(
            dataErr::BadFilter,
            QStringLiteral("The filter \"%1\" cannot be read: %2.").arg(text_, why));
    }

    void skipBlanks() {
        while (pos_ < text_.size() && text_.at(pos_).isSpace())
            ++pos_;
    }

    // Takes the keyword when it stands next, as a whole word.
    bool takeWord(QLatin1String word) {
        skipBlanks();
        const qsizetype end = pos_ + word.size();
        if (QStringView(text_).mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        if (end < text_.size() && (text_.at(end).isLetterOrNumber() || text_.at(end) == u'_'))
            return false;
        pos_ = end;
        return true;
    }

    bool take(QChar c) {
        skipBlanks();
        if (pos_ < text_.size() && text_.at(pos_) == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    Node joined(Node::Kind kind, Node first, Node (Parser::*next)(), QLatin1String word) {
        Node node;
        node.kind = kind;
        node.children.push_back(std::move(first));
        while (takeWord(word))
            node.children.push_back((this->*next)());
        return node.children.size() == 1 ? std::move(node.children.front()) : node;
    }

    Node parseOr() { return joined(Node::Or, parseAnd(), &Parser::parseAnd, QLatin1String("OR")); }
    Node parseAnd() {
        return joined(Node::And, parsePrimary(), &Parser::parsePrimary, QLatin1String("AND"));
    }

    Node parsePrimary() {
        if (take(u'(')) {
            Node inner = parseOr();
            if (!take(u')'))
                fail(QStringLiteral("a ')' is missing"));
            return inner;
        }
        Node node;
        node.field = fields_.indexOf(parseFieldName());
        node.op = parseOp();
        node.literal = parseLiteral();
        return node;
    }

    QString parseFieldName() {
        skipBlanks();
        if (take(u'[')) {
            const qsizetype close = text_.indexOf(u']', pos_);
            if (close < 0)
                fail(QStringLiteral("a ']' is missing"));
            const QString name = text_.mid(pos_, close - pos_);
            pos_ = close + 1;
            return name;
        }
        const qsizetype start = pos_;
        while (pos_ < text_.size() && (text_.at(pos_).isLetterOrNumber() || text_.at(pos_) == u'_'))
            ++pos_;
        if (pos_ == start)
            fail(QStringLiteral("a field name is missing"));
        return text_.mid(start, pos_ - start);
    }

    Op parseOp() {
        skipBlanks();
        static const std::pair<QLatin1String, Op> ops[] = {
            {QLatin1String("<="), Op::LessEqual}, {QLatin1String(">="), Op::GreaterEqual},
            {QLatin1String("<>"), Op::NotEqual},  {QLatin1String("="), Op::Equal},
            {QLatin1String("<"), Op::Less},       {QLatin1String(">"), Op::Greater}};
        for (const auto& [symbol, op] : ops) {
            if (QStringView(text_).mid(pos_).startsWith(symbol)) {
                pos_ += symbol.size();
                return op;
            }
        }
        fail(QStringLiteral("a comparison operator is missing"));
    }

    QVariant parseLiteral() {
        skipBlanks();
        if (take(u'\'')) {
            QString value;
            while (true) {
                if (pos_ >= text_.size())
                    fail(QStringLiteral("a closing quote is missing"));
                const QChar c = text_.at(pos_++);
                if (c != u'\'') {
                    value += c;
                } else if (pos_ < text_.size() && text_.at(pos_) == u'\'') {
                    value += c;
                    ++pos_;
                } else {
                    return value;
                }
            }
        }
        const qsizetype start = pos_;
        while (pos_ < text_.size() &&
               (text_.at(pos_).isDigit() || QStringLiteral("+-.eE").contains(text_.at(pos_))))
            ++pos_;
        bool ok = false;
        const double number = text_.mid(start, pos_ - start).toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("a number or a quoted text is missing"));
        return number;
    }

    const QString& text_;
    const FieldNames& fields_;
    qsizetype pos_ = 0;
};

FilterCriteria FilterCriteria::parse(const QString& text, const FieldNames& fields) {
    FilterCriteria criteria;
    criteria.root_ = Parser(text, fields).parseAll();
    return criteria;
}

bool FilterCriteria::matches(const QVariantList& row) const {
    return evaluate(root_, row);
}

bool FilterCriteria::evaluate(const Node& node, const QVariantList& row) {
    switch (node.kind) {
    case Node::And:
        for (const Node& child : node.children)
            if (!evaluate(child, row))
                return false;
        return true;
    case Node::Or:
        for (const Node& child : node.children)
            if (evaluate(child, row))
                return true;
        return false;
    case Node::Compare:
        break;
    }
    return compare(row.at(node.field), node.op, node.literal);
}

namespace {

bool asNumber(const QVariant& value, double& number) {
    if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        return ok;
    }
    bool ok = false;
    number = value.toDouble(&ok);
    return ok;
}

} // namespace

bool FilterCriteria::compare(const QVariant& value, Op op, const QVariant& literal) {
    if (!value.isValid() || value.isNull())
        return false;
    int order = 0;
    const bool textual = value.metaType().id() == QMetaType::QString &&
                         literal.metaType().id() == QMetaType::QString;
    if (textual) {
        order = value.toString().compare(literal.toString(), Qt::CaseInsensitive);
    } else {
        double a = 0, b = 0;
        if (!asNumber(value, a) || !asNumber(literal, b))
            return false;
        order = a < b ? -1 : (a > b ? 1 : 0);
    }
    switch (op) {
    case Op::Equal:
        return order == 0;
    case Op::NotEqual:
        return order != 0;
    case Op::Less:
        return order < 0;
    case Op::Greater:
        return order > 0;
    case Op::LessEqual:
        return order <= 0;
    case Op::GreaterEqual:
        return order >= 0;
    }
    return false;
}

} // namespace brantock::platform
