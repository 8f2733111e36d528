// The picture commands of GridEditActions.
#include "GridEditActions.h"

#include "GridView.h"
#include "common/Prompter.h"
#include "common/SafeFile.h"
#include "grid/GridValue.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"

#include <QFileInfo>
#include <QImageReader>

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
    if (!index.isValid() || !isPictureColumn(index.column()))
        return;
    Prompter::FileRequest request;
    request.title = QStringLiteral("Set Picture");
    request.filter = imageFilter();
    request.save = false;
    const QString path = m_prompter.fileName(request);
    if (!path.isEmpty())
        setPictureFromFile(index, path);
}

void GridEditActions::savePicture()
{
    const QModelIndex index = m_view.currentIndex();
    if (!index.isValid() || !isPictureColumn(index.column()))
        return;
    const QByteArray bytes = index.data(Qt::EditRole).toByteArray();
    if (bytes.isEmpty())
        return;
    Prompter::FileRequest request;
    request.title = QStringLiteral("Save Picture As");
    request.filter = QStringLiteral("Windows bitmap (*.bmp)");
    request.defaultSuffix = QStringLiteral("bmp");
    const QString path = m_prompter.fileName(request);
    if (path.isEmpty())
        return;
    const SafeFile::Result written = SafeFile::write(path, bytes);
    if (!written.ok())
        inform(QStringLiteral("The picture could not be written: %1").arg(written.message));
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
