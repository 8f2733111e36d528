#pragma once

#include <QObject>
#include <QStringList>

namespace Ledgerly {

// An ordered list of texts with one selected entry, standing in for the hidden
// list controls of the catalogue. select() notifies every time it is called,
// like a click, even when the index does not change.
class CatalogueList : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    int count() const { return int(m_items.size()); }
    QString item(int index) const { return m_items.value(index); }
    const QStringList &items() const { return m_items; }
    int currentIndex() const { return m_current; }
    QString currentText() const { return m_items.value(m_current); }

    void append(const QString &text) { m_items.append(text); }
    void clear();
    // Out-of-range indexes leave no entry selected (-1).
    void select(int index);
    // Selects the first entry equal to text (case ignored); none: -1.
    void selectText(const QString &text);

Q_SIGNALS:
    void selected(int index);

private:
    QStringList m_items;
    int m_current = -1;
};

} // namespace Ledgerly
