#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace Ledgerly {

// The cell text editor: the whole text of one cell in a multi-line box,
// written back by "Done"; closing it any other way changes nothing. Tab
// types a tab character inside the box.
class TextEdit : public QDialog
{
    Q_OBJECT
public:
    explicit TextEdit(QWidget *parent = nullptr);

    // The load step: the cell's place (as text in the hidden boxes) and its
    // value, put in unchanged; the window is centred on its screen.
    void Form_Load(int row, int position, const QString &value);
    // The text to write back, every CR LF turned into LF. Valid after Done.
    QString resultText() const { return m_result; }
    int textRow() const;
    int textColumn() const;

    QPlainTextEdit *richTextBox() const { return m_richTextBox1; }
    QPushButton *doneButton() const { return m_command1; }

    // Where a window of the given size stands centred on a screen area:
    // each difference made whole first, then halved with whole division.
    static QPoint centredPosition(const QRect &screen, const QSize &window);

private:
    void Command1_Click();

    QPlainTextEdit *m_richTextBox1;
    QPushButton *m_command1;
    QLineEdit *m_textColumn;
    QLineEdit *m_textRow;
    QString m_result;
};

} // namespace Ledgerly
