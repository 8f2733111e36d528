#include "ViewMemory.h"

#include "SettingsStore.h"

#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace Ledgerly {

namespace {
const QString widthsSection = QStringLiteral("ColumnWidths");
const QString sortKeysSection = QStringLiteral("SortKeys");
const QString filterRowSection = QStringLiteral("FilterRow");
const QString windowSection = QStringLiteral("Window");
const QString geometryKey = QStringLiteral("Geometry");
const QString csvSection = QStringLiteral("CSV");
const QString folderKey = QStringLiteral("LastFolder");
// A remembered width beyond this is no width a person set on a screen.
constexpr double maxWidthTwips = 1440.0 * 100;
} // namespace

ViewMemory::ViewMemory(SettingsStore &settings, QString appName)
    : m_settings(settings)
    , m_appName(std::move(appName))
{}

QString ViewMemory::widthsText(const QHash<QString, double> &twipsByKey)
{
    QStringList keys = twipsByKey.keys();
    std::sort(keys.begin(), keys.end()); // the same widths always store alike
    QStringList pairs;
    for (const QString &key : std::as_const(keys))
        pairs.append(QString::fromLatin1(QUrl::toPercentEncoding(key)) + QLatin1Char('=') +
                     QString::number(qRound(twipsByKey.value(key))));
    return pairs.join(QLatin1Char(';'));
}

QHash<QString, double> ViewMemory::readWidths(const QString &text)
{
    QHash<QString, double> widths;
    for (const QString &pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.lastIndexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        bool ok = false;
        const double twips = pair.mid(equals + 1).toDouble(&ok);
        if (!ok || !(twips > 0) || twips > maxWidthTwips)
            continue;
        widths.insert(QUrl::fromPercentEncoding(pair.left(equals).toLatin1()), twips);
    }
    return widths;
}

QHash<QString, double> ViewMemory::columnWidths(const QString &section) const
{
    if (section.isEmpty())
        return {};
    return readWidths(m_settings.value(m_appName, widthsSection, section));
}

void ViewMemory::setColumnWidths(const QString &section, const QHash<QString, double> &twipsByKey)
{
    // Remembering is a convenience: a store that fails costs the widths only.
    if (!section.isEmpty())
        m_settings.setValue(m_appName, widthsSection, section, widthsText(twipsByKey));
}

SortKeys ViewMemory::sortKeys(const QString &section, const QAbstractItemModel &table) const
{
    if (section.isEmpty())
        return {};
    return SortKeyList::read(table, m_settings.value(m_appName, sortKeysSection, section));
}

void ViewMemory::setSortKeys(const QString &section, const QAbstractItemModel &table,
                             const SortKeys &keys)
{
    if (!section.isEmpty())
        m_settings.setValue(m_appName, sortKeysSection, section, SortKeyList::write(table, keys));
}

bool ViewMemory::filterRowShown(const QString &section) const
{
    return !section.isEmpty() &&
           m_settings.value(m_appName, filterRowSection, section) == QLatin1String("True");
}

void ViewMemory::setFilterRowShown(const QString &section, bool shown)
{
    if (!section.isEmpty())
        m_settings.setValue(m_appName, filterRowSection, section,
                            shown ? QStringLiteral("True") : QStringLiteral("False"));
}

QString ViewMemory::csvFolder() const
{
    return m_settings.value(m_appName, csvSection, folderKey);
}

void ViewMemory::setCsvFolder(const QString &folder)
{
    m_settings.setValue(m_appName, csvSection, folderKey, folder);
}

QByteArray ViewMemory::windowGeometry() const
{
    return QByteArray::fromBase64(
        m_settings.value(m_appName, windowSection, geometryKey).toLatin1());
}

void ViewMemory::setWindowGeometry(const QByteArray &geometry)
{
    m_settings.setValue(m_appName, windowSection, geometryKey,
                        QString::fromLatin1(geometry.toBase64()));
}

} // namespace Ledgerly
