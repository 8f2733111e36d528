#include "GridEditing.h"

#include "app/MainController.h"
#include "common/Prompter.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"
#include "grid/widgets/GridEditActions.h"
#include "grid/widgets/GridEditInput.h"
#include "grid/widgets/GridView.h"
#include "grid/widgets/TextEdit.h"

#include <QCheckBox>

namespace Ledgerly {

GridEditing::GridEditing(GridView &view, MainController &controller, Prompter &prompter,
                         QCheckBox &autoFill, ModalShower showModal, QObject *parent)
    : QObject(parent)
    , m_editor(&controller.document().editor())
    , m_proxy(new RecordTableProxy(*m_editor, this))
{
    m_proxy->setSourceModel(&controller.grid());
    view.setModel(m_proxy);

    GridEditActions::Hooks hooks;
    hooks.confirmDelete = [&prompter](int records) {
        return prompter.message(QStringLiteral("Delete %1 record(s)?").arg(records),
                                Prompter::Buttons::YesNo,
                                Prompter::Icon::Question) == Prompter::Yes;
    };
    hooks.inform = [&prompter](const QString &text) {
        prompter.message(text, Prompter::Buttons::Ok, Prompter::Icon::Information);
    };
    hooks.chooseFile = [&prompter](const QString &title, const QString &filter, bool save) {
        Prompter::FileRequest request;
        request.title = title;
        request.filter = filter;
        request.save = save;
        if (save)
            request.defaultSuffix = QStringLiteral("bmp");
        return prompter.fileName(request);
    };
    hooks.showTextEditor = [showModal](TextEdit &editor) {
        showModal(editor);
        return editor.result() == QDialog::Accepted;
    };
    hooks.unhideColumns = [&controller] { controller.UnHideColumns(); };
    hooks.hideColumns = [&controller] { controller.HideColumns(); };

    m_actions = new GridEditActions(view, *m_proxy, std::move(hooks), this);
    m_input = new GridEditInput(view, *m_proxy, *m_actions, this);
    m_input->setAutoFillEnabled(autoFill.isChecked());
    connect(&autoFill, &QCheckBox::toggled, m_input, &GridEditInput::setAutoFillEnabled);
}

void GridEditing::setSourceModel(QAbstractItemModel *model)
{
    m_proxy->setSourceModel(model);
}

} // namespace Ledgerly
