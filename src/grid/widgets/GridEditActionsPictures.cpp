// The picture commands of GridEditActions.
#include "GridEditActions.h"

#include "GridView.h"
#include "grid/GridValue.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace Ledgerly {

namespace {

QString imageFilter()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    return QStringLiteral("Pictures (%1);;All files (*)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace

bool GridEditActions::setPictureFromFile(const QModelIndex &index, const QString &path)
{
    if (!index.isValid() || !isPictureColumn(index.column()))
        return false;
    const int row = m_proxy.recordRow(index.row());
    if (row < 0 && !m_proxy.isNewRecordRow(index.row()))
        return false;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    // Pictures are kept as Windows bitmaps, whatever they were read from.
    const QByteArray bytes = image.isNull() ? QByteArray() : GridValue::bitmapBytes(image);
    if (bytes.isEmpty()) {
        inform(QStringLiteral("%1 is not a picture that can be read; the cell is unchanged.")
                   .arg(QFileInfo(path).fileName()));
        return false;
    }
    if (row < 0)
        return m_editor.appendFromEdit(index.column(), bytes);
    m_editor.setCells({{row, index.column(), bytes}}, QStringLiteral("Set Picture"));
    return true;
}

void GridEditActions::setPicture()
{
    const QModelIndex index = m_view.currentIndex();
    if (!index.isValid() || !isPictureColumn(index.column()) || !m_hooks.chooseFile)
        return;
    const QString path = m_hooks.chooseFile(QStringLiteral("Set Picture"), imageFilter(), false);
    if (!path.isEmpty())
        setPictureFromFile(index, path);
}

void GridEditActions::savePicture()
{
    const QModelIndex index = m_view.currentIndex();
    if (!index.isValid() || !isPictureColumn(index.column()) || !m_hooks.chooseFile)
        return;
    const QByteArray bytes = index.data(Qt::EditRole).toByteArray();
    if (bytes.isEmpty())
        return;
    const QString path = m_hooks.chooseFile(QStringLiteral("Save Picture As"),
                                            QStringLiteral("Windows bitmap (*.bmp)"), true);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                         file.flush() && file.commit();
    if (!written)
        inform(QStringLiteral("The picture could not be written to %1.").arg(path));
}

void GridEditActions::clearPicture()
{
    const QModelIndex index = m_view.currentIndex();
    const int row = m_proxy.recordRow(index.row());
    if (row < 0 || !isPictureColumn(index.column()) ||
        index.data(Qt::EditRole).toByteArray().isEmpty())
        return;
    m_editor.setCells({{row, index.column(), QVariant()}}, QStringLiteral("Clear Picture"));
}

} // namespace Ledgerly
