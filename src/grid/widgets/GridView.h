#pragma once

#include <QTableView>

namespace Ledgerly {

class GridModel;

// The record table (SGGrid1): one column per field, hidden columns hidden,
// widths in twips turned into pixels at the screen's logical DPI, taller rows
// when a picture column is shown, and Enter moving on like Tab.
class GridView : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    void setGridModel(GridModel *model);
    GridModel *gridModel() const { return m_model; }

    // Re-reads captions, visibility, widths and row height from the columns.
    void applyColumns();
    // The row height for the current columns, in pixels.
    int preferredRowHeight() const;
    bool showsPictures() const;
    // Writes the text of a cell editor that is still open into the table and
    // closes it. Commands that do not take the focus (toolbar, menus and their
    // shortcuts, closing the window) run this first, so an edit in progress is
    // neither left out of a save nor lost without the closing question.
    // Returns whether an editor was open.
    bool commitOpenEditor();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    GridModel *m_model = nullptr;
};

} // namespace Ledgerly
