#include "uSChildFrm.h"

#include "errors/KxError.h"

#include "MainFrmServices.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/SettingsAccessors.h"
#include "config/SettingsKeys.h"
#include "config/TableEntry.h"
#include "grid/DBGrid.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "tables/Table.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPointer>

#include <numeric>

namespace windows {

namespace {

// Geometry defaults of a child window's section.
constexpr int kNoPosition = -2;
constexpr int kDefaultLeft = 367;
constexpr int kDefaultWidth = 546;
constexpr int kDefaultHeight = 399;

// The entry of a field, or the default one for its position.
config::TableEntry entryOf(const config::IniFile &properties, const QString &section, const QString &field,
                           int position)
{
    const QString fallback = config::TableEntry::defaultFor(field, position).toString();
    return config::TableEntry::parse(properties.readString(section, field, fallback), field, section);
}

QString tableSection(const tables::Table &table) { return QFileInfo(table.path()).fileName(); }

// Ends a column batch however the set-up leaves.
class ColumnsBatch {
public:
    explicit ColumnsBatch(grid::DBGrid &grid) : grid_(grid) { grid_.beginColumnsUpdate(); }
    ~ColumnsBatch() { grid_.endColumnsUpdate(); }
    ColumnsBatch(const ColumnsBatch &) = delete;
    ColumnsBatch &operator=(const ColumnsBatch &) = delete;

private:
    grid::DBGrid &grid_;
};

} // namespace

TSaveChildFrm::TSaveChildFrm(QWidget *owner, MainFrmServices *main)
    : QWidget(nullptr), services_(main), mdiChild_(owner != nullptr)
{
    setAttribute(Qt::WA_DeleteOnClose, mdiChild_);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(424, 271);
}

TSaveChildFrm::~TSaveChildFrm()
{
    // A window without a destruction step of its own still saves its place,
    // once it has been shown (a window whose construction failed never was).
    if (everShown_)
        runFormDestroy();
    if (watchedFrame_)
        watchedFrame_->removeEventFilter(this);
}

// --- geometry ---

void TSaveChildFrm::FormCreate()
{
    const config::IniFile settings(config::settingsFileName());
    const QString section = windowTitle();
    const int top = settings.readInteger(section, config::keys::kTop, kNoPosition);
    if (top == kNoPosition)
        return;
    const int left = settings.readInteger(section, config::keys::kLeft, kDefaultLeft);
    const int width = settings.readInteger(section, config::keys::kWidth, kDefaultWidth);
    const int height = settings.readInteger(section, config::keys::kHeight, kDefaultHeight);
    pendingGeometry_ = QRect(left, top, width, height);
    if (isVisible())
        showEvent(nullptr);
}

void TSaveChildFrm::FormDestroy()
{
    const QRect g = lastFrameGeometry_.value_or(frameGeometry());
    const config::IniFile settings(config::settingsFileName());
    const QString section = windowTitle();
    settings.writeInteger(section, config::keys::kTop, g.top());
    settings.writeInteger(section, config::keys::kLeft, g.left());
    settings.writeInteger(section, config::keys::kWidth, g.width());
    settings.writeInteger(section, config::keys::kHeight, g.height());
}

void TSaveChildFrm::runFormDestroy()
{
    if (formDestroyed_)
        return;
    formDestroyed_ = true;
    try {
        FormDestroy();
    } catch (const std::exception &error) {
        platform::messages().showError(kx::userMessage(error));
    } catch (...) {
        platform::messages().showError(QStringLiteral("Неизвестная ошибка при закрытии окна"));
    }
}

void TSaveChildFrm::showStatus(const QString &text) const
{
    if (services_)
        services_->setStatusText(text);
}

QWidget *TSaveChildFrm::frame() const
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub;
    return const_cast<TSaveChildFrm *>(this);
}

QRect TSaveChildFrm::frameGeometry() const
{
    QWidget *f = frame();
    return f == this ? QWidget::frameGeometry() : f->geometry();
}

void TSaveChildFrm::watchFrame()
{
    QWidget *f = frame();
    QWidget *sub = f == this ? nullptr : f;
    if (sub == watchedFrame_)
        return;
    if (watchedFrame_)
        watchedFrame_->removeEventFilter(this);
    watchedFrame_ = sub;
    if (watchedFrame_) {
        watchedFrame_->installEventFilter(this);
        connect(watchedFrame_, &QObject::destroyed, this, [this](QObject *gone) {
            if (gone == watchedFrame_)
                watchedFrame_ = nullptr;
        });
    }
}

bool TSaveChildFrm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentChange: watchFrame(); break;
    case QEvent::Move:
    case QEvent::Resize:
        if (frame() == this && isVisible())
            lastFrameGeometry_ = frameGeometry();
        break;
    default: break;
    }
    return QWidget::event(event);
}

bool TSaveChildFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == watchedFrame_
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show))
        lastFrameGeometry_ = watchedFrame_->geometry();
    return QWidget::eventFilter(watched, event);
}

void TSaveChildFrm::showEvent(QShowEvent *event)
{
    if (event)
        QWidget::showEvent(event);
    everShown_ = true;
    watchFrame();
    if (pendingGeometry_) {
        const QRect g = *pendingGeometry_;
        pendingGeometry_.reset();
        QWidget *f = frame();
        if (f == this) {
            const QSize decoration = QWidget::frameGeometry().size() - size();
            move(g.topLeft());
            resize(g.size() - decoration);
        } else {
            f->setGeometry(g);
        }
    }
    lastFrameGeometry_ = frameGeometry();
}

// --- closing and modal use ---

void TSaveChildFrm::setMdiChild(bool mdiChild)
{
    mdiChild_ = mdiChild;
    setAttribute(Qt::WA_DeleteOnClose, mdiChild);
}

void TSaveChildFrm::closeWindow() { frame()->close(); }

void TSaveChildFrm::closeEvent(QCloseEvent *event)
{
    // A close handler that fails (a typed value the table refuses) keeps the
    // window open with the message, so that nothing typed is lost unseen.
    keepOpen_ = false;
    try {
        FormClose();
    } catch (const std::exception &error) {
        keepOpen_ = true;
        platform::messages().showError(kx::userMessage(error), this);
    }
    if (keepOpen_) {
        event->ignore();
        return;
    }
    event->accept();
    if (modalLoop_)
        modalLoop_->quit();
}

TSaveChildFrm::ModalResult TSaveChildFrm::showModal()
{
    modalResult_ = ModalResult::None;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    modalLoop_ = &loop;
    QPointer<TSaveChildFrm> alive(this);
    loop.exec(QEventLoop::DialogExec);
    if (!alive)
        return ModalResult::Cancel;
    modalLoop_ = nullptr;
    hide();
    setWindowModality(Qt::NonModal);
    if (modalResult_ == ModalResult::None)
        modalResult_ = ModalResult::Cancel;
    return modalResult_;
}

// --- settings ---

QDateTime TSaveChildFrm::GetLastRefresh() const
{
    return config::SettingsAccessors(config::settingsFileName()).GetLastRefresh();
}

void TSaveChildFrm::SortByOrder(std::vector<int> &numbers)
{
    std::vector<int> index(numbers.size());
    std::iota(index.begin(), index.end(), 0);
    for (size_t i = 0; i + 1 < index.size(); ++i)
        for (size_t j = i + 1; j < index.size(); ++j)
            if (numbers[size_t(index[j])] < numbers[size_t(index[i])])
                std::swap(index[i], index[j]);
    numbers = std::move(index);
}

void TSaveChildFrm::ApplyColumns(tables::Table &table, grid::DBGrid &grid, std::vector<tables::Field> *list)
{
    const config::IniFile properties(config::propertiesFileName());
    const QString section = tableSection(table);

    // Fields: visibility, title, read-only flag.
    for (int i = 0; i < table.fieldCount(); ++i) {
        tables::Field field = table.field(i);
        const config::TableEntry entry = entryOf(properties, section, field.name(), i + 1);
        field.setVisible(entry.visible());
        field.setDisplayLabel(entry.title());
        field.setReadOnly(entry.readOnly());
    }
    grid.fieldsChanged();

    QString editable;
    {
        ColumnsBatch batch(grid);
        std::vector<int> order;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QString name = grid.columnFieldName(c);
            const config::TableEntry entry = entryOf(properties, section, name, c + 1);
            grid.setTitleAlignment(c, Qt::AlignCenter);
            if (!entry.readOnly())
                editable += name + u';';
            if (entry.width() != 0)
                grid.setColumnWidth(c, entry.width());
            order.push_back(entry.position() - 1);
        }
        SortByOrder(order);
        QStringList names;
        for (int position : order)
            names << grid.columnFieldName(position);
        for (int j = 0; j < names.size(); ++j)
            grid.moveColumn(grid.findColumn(names[j]), j);
    }

    if (list) {
        list->clear();
        for (const QString &name : editable.split(u';', Qt::SkipEmptyParts))
            list->push_back(table.field(name));
    }
}

void TSaveChildFrm::SaveColumns(grid::DBGrid &grid)
{
    if (!grid.table() || !grid.table()->isOpen())
        return;
    const config::IniFile properties(config::propertiesFileName());
    const QString section = tableSection(*grid.table());
    for (int c = 0; c < grid.columnCount(); ++c) {
        const QString name = grid.columnFieldName(c);
        config::TableEntry entry = entryOf(properties, section, name, c + 1);
        const int width = grid.columnWidth(c);
        if (entry.width() == width && entry.position() == c + 1)
            continue;
        entry.setPosition(c + 1);
        entry.setWidth(width);
        properties.writeString(section, name, entry.toString());
    }
}

} // namespace windows
