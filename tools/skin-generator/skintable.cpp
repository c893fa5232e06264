#include "skintable.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTextStream>

namespace {

// Splits on blanks; double quotes keep blanks inside a token and are dropped.
QStringList Tokenize(const QString& line) {
    QStringList tokens;
    QString current;
    bool quoted = false;
    bool inToken = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inToken = true;
        } else if (c.isSpace() && !quoted) {
            if (inToken) {
                tokens << current;
                current.clear();
                inToken = false;
            }
        } else {
            current += c;
            inToken = true;
        }
    }
    if (inToken) {
        tokens << current;
    }
    return tokens;
}

bool ParseLine(const QStringList& tokens, int lineNumber, std::vector<SkinEntry>* entries,
               QString* error) {
    const QString where = QStringLiteral("line %1: ").arg(lineNumber);
    if (tokens.size() < 4) {
        *error = where + "expected kind, numbers, size and look";
        return false;
    }
    const QString kind = tokens[0];
    if (kind != "icon" && kind != "bitmap" && kind != "png") {
        *error = where + "unknown kind " + kind;
        return false;
    }
    std::vector<int> numbers;
    for (const QString& text : tokens[1].split(QLatin1Char(','))) {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number <= 0) {
            *error = where + "bad number " + text;
            return false;
        }
        numbers.push_back(number);
    }
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    const auto sizeMatch = sizePattern.match(tokens[2]);
    if (!sizeMatch.hasMatch()) {
        *error = where + "bad size " + tokens[2];
        return false;
    }
    const QSize size(sizeMatch.captured(1).toInt(), sizeMatch.captured(2).toInt());
    if (size.isEmpty()) {
        *error = where + "empty size";
        return false;
    }

    QMap<QString, QStringList> lists;
    for (int i = 4; i < tokens.size(); ++i) {
        const int equals = static_cast<int>(tokens[i].indexOf(QLatin1Char('=')));
        if (equals <= 0) {
            *error = where + "expected key=value, got " + tokens[i];
            return false;
        }
        const QStringList values = tokens[i].mid(equals + 1).split(QLatin1Char(','));
        if (values.size() != 1 && values.size() != static_cast<int>(numbers.size())) {
            *error = where + "attribute " + tokens[i].left(equals) + " has " +
                     QString::number(values.size()) + " values for " +
                     QString::number(numbers.size()) + " numbers";
            return false;
        }
        lists.insert(tokens[i].left(equals), values);
    }

    for (std::size_t n = 0; n < numbers.size(); ++n) {
        SkinEntry entry;
        entry.kind = kind;
        entry.number = numbers[n];
        entry.size = size;
        entry.look = tokens[3];
        entry.line = lineNumber;
        for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
            entry.attributes.insert(it.key(), it.value().size() == 1
                                                  ? it.value().front()
                                                  : it.value()[static_cast<int>(n)]);
        }
        entries->push_back(entry);
    }
    return true;
}

}  // namespace

bool ReadSkinTable(const QString& path, std::vector<SkinEntry>* entries, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = "cannot open " + path;
        return false;
    }
    QTextStream in(&file);
    int lineNumber = 0;
    while (!in.atEnd()) {
        ++lineNumber;
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (!ParseLine(Tokenize(line), lineNumber, entries, error)) {
            *error = path + " " + *error;
            return false;
        }
    }
    QSet<QString> seen;
    for (const SkinEntry& entry : *entries) {
        const QString key = entry.kind + "/" + QString::number(entry.number);
        if (seen.contains(key)) {
            *error =
                QStringLiteral("%1 line %2: %3 given twice").arg(path).arg(entry.line).arg(key);
            return false;
        }
        seen.insert(key);
    }
    return true;
}
