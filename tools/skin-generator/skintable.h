#pragma once

#include <QMap>
#include <QSize>
#include <QString>

#include <vector>

// One image of the resource library as the skin table describes it.
struct SkinEntry {
    QString kind;  // "icon", "bitmap" or "png"
    int number = 0;
    QSize size;
    QString look;
    QMap<QString, QString> attributes;
    int line = 0;  // of the table, for error texts

    QString Attribute(const QString& key, const QString& fallback = {}) const {
        return attributes.value(key, fallback);
    }
    bool Flag(const QString& key) const { return Attribute(key) == QLatin1String("yes"); }
};

// Reads the skin table. A line naming several numbers becomes one entry per number; list-valued
// attributes of the same length are handed out in order. Fails on malformed lines, unknown kinds
// and a kind/number pair given twice.
bool ReadSkinTable(const QString& path, std::vector<SkinEntry>* entries, QString* error);
