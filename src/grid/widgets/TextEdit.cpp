#include "TextEdit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace Ledgerly {

TextEdit::TextEdit(QWidget *parent)
    : QDialog(parent)
    , m_richTextBox1(new QPlainTextEdit(this))
    , m_command1(new QPushButton(QStringLiteral("Done"), this))
    , m_textColumn(new QLineEdit(this))
    , m_textRow(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TextEdit"));
    setWindowTitle(QStringLiteral("please edit your text and click Done when completed"));
    setModal(true);
    m_richTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    m_richTextBox1->setTabChangesFocus(false); // Tab is typed into the text
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setAutoDefault(false); // Enter starts a new line of the text
    m_textColumn->setObjectName(QStringLiteral("TextColumn"));
    m_textRow->setObjectName(QStringLiteral("TextRow"));
    m_textColumn->hide();
    m_textRow->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_richTextBox1, 1);
    layout->addWidget(m_command1, 0, Qt::AlignRight);
    resize(480, 320);
    connect(m_command1, &QPushButton::clicked, this, &TextEdit::Command1_Click);
}

QPoint TextEdit::centredPosition(const QRect &screen, const QSize &window)
{
    const int dx = screen.width() - window.width();
    const int dy = screen.height() - window.height();
    return screen.topLeft() + QPoint(dx / 2, dy / 2);
}

void TextEdit::Form_Load(int row, int position, const QString &value)
{
    if (const QScreen *where = parentWidget() ? parentWidget()->screen() : screen())
        move(centredPosition(where->geometry(), frameGeometry().size()));
    m_textColumn->setText(QString::number(position));
    m_textRow->setText(QString::number(row));
    m_richTextBox1->setPlainText(value);
    m_richTextBox1->setFocus();
}

int TextEdit::textRow() const
{
    return m_textRow->text().toInt();
}

int TextEdit::textColumn() const
{
    return m_textColumn->text().toInt();
}

void TextEdit::Command1_Click()
{
    m_result = m_richTextBox1->toPlainText();
    m_result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    accept();
}

} // namespace Ledgerly
