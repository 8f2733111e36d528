#include "WindowLayout.h"

namespace Ledgerly {

WindowLayout::Result WindowLayout::compute(const Input &in)
{
    Result r;
    r.windowHeight = windowHeight;

    r.toolbar.left = in.menuLeft;
    r.toolbar.top = in.menuTop + toolbarOffset;
    r.toolbar.width = in.windowWidth - toolbarWidthMargin;

    r.grid.top = in.menuTop + gridOffset;
    r.grid.left = in.menuLeft;
    r.grid.width = in.windowWidth * gridWidthFactor;
    r.grid.height = r.windowHeight * gridHeightFactor;

    r.column0Width = column0Width;

    r.statusBar.top = r.grid.top + r.grid.height + statusGap;

    r.frame2.top = r.statusBar.top - frame2Rise;
    r.frame2.height = frame2Height;
    r.frame2.left = in.statusPanel4Left + frame2Indent;

    r.frame1.top = in.menuTop + frame1Offset;
    r.frame1.left = r.toolbar.left + frame1Indent;

    r.progress.top = progressTop;
    r.progress.height = progressHeight;

    r.statusBar.width = r.grid.width;
    r.statusBar.left = in.menuLeft;

    // The toolbar finally lines up with the grid rather than the window.
    r.toolbar.width = r.grid.width;
    return r;
}

} // namespace Ledgerly
