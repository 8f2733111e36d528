#include "GridEditing.h"

#include "app/MainController.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"
#include "grid/widgets/GridEditActions.h"
#include "grid/widgets/GridEditInput.h"
#include "grid/widgets/GridView.h"

#include <QCheckBox>

namespace Ledgerly {

GridEditing::GridEditing(GridView &view, MainController &controller, Prompter &prompter,
                         QCheckBox &autoFill, QObject *parent)
    : QObject(parent)
    , m_editor(&controller.document().editor())
    , m_proxy(new RecordTableProxy(*m_editor, this))
{
    m_proxy->setSourceModel(controller.viewModel());
    view.setModel(m_proxy);
    m_actions = new GridEditActions(view, *m_proxy, prompter, this);
    m_input = new GridEditInput(view, *m_proxy, *m_actions, this);
    m_input->setAutoFillEnabled(autoFill.isChecked());
    connect(&autoFill, &QCheckBox::toggled, m_input, &GridEditInput::setAutoFillEnabled);
}

void GridEditing::setSourceModel(QAbstractItemModel *model)
{
    m_proxy->setSourceModel(model);
}

} // namespace Ledgerly
