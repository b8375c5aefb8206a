// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitorwindow.h"

#include "cameracontrols.h"
#include "elidinglabel.h"
#include "imageview.h"
#include "pixelconversion.h"
#include "ratechart.h"
#include "windowstate.h"

#include <TavixQtBase/layoutpersistence.h>
#include <TavixQtBase/stringhelpers.h>
#include <TavixQtBase/supportinfo.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

// Raise when the table's columns change, so that an old saved layout is not applied.
constexpr int cameraTableLayoutVersion = 2;
constexpr int statusMessageMs = 10000;
// Wider cells elide their text; the tooltip has all of it.
constexpr int maxColumnWidth = 240;
constexpr QSize defaultSize(960, 640);

QString settingsGroup()
{
    return QStringLiteral("MainWindow");
}

QString binaryPrefixesKey()
{
    return QStringLiteral("binaryPrefixes");
}

QString ipConfigurationText(const CameraDescription& camera)
{
    if (!camera.isGigE()) {
        return QString();
    }
    if (camera.ipConfiguration < 0) {
        return MonitorWindow::tr("(read when connected)");
    }
    const QString text = formatIPConfiguration(static_cast<unsigned int>(camera.ipConfigurationMethods()), 0);
    return text.isEmpty() ? MonitorWindow::tr("not reported (bits 0x%1)").arg(camera.ipConfiguration, 0, 16) : text;
}

/** The report list's lines, each with the icon of its severity. */
class ReportDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = QApplication::style()->standardIcon(
            index.data(ReportList::SeverityRole).toInt() == AsyncErrorQueue::Warning ? QStyle::SP_MessageBoxWarning
                                                                                     : QStyle::SP_MessageBoxCritical);
    }
};

} // namespace

/** The camera list as the window's table shows it: a text in each column, its tooltip the whole of it. */
class CameraTable : public QIdentityProxyModel
{
public:
    CameraTable(CameraListModel* cameras, QObject* parent)
        : QIdentityProxyModel(parent)
        , m_cameras(cameras)
    {
        setSourceModel(cameras);
    }

    void setPrefixes(UnitPrefixes prefixes)
    {
        m_prefixes = prefixes;
        if (rowCount() > 0) {
            Q_EMIT dataChanged(
                index(0, CameraListModel::DataRateColumn), index(rowCount() - 1, CameraListModel::DataRateColumn));
        }
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const int column = index.column();
        const bool damaged = column == CameraListModel::NameColumn && m_cameras->camera(index.row()).looksDamaged();
        if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && !damaged)) {
            return text(index);
        } else if (role == Qt::ToolTipRole) {
            return MonitorWindow::tr("This discovery answer does not look like a camera's; it may be damaged.\n%1")
                .arg(text(index));
        } else if (role == Qt::DecorationRole && damaged) {
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        } else if (role == Qt::TextAlignmentRole
            && (column == CameraListModel::FrameRateColumn || column == CameraListModel::DataRateColumn)) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    QString text(const QModelIndex& index) const
    {
        const CameraDescription& camera = m_cameras->camera(index.row());
        const auto source = [this, &index](int role) { return mapToSource(index).data(role); };
        const bool rates = source(CameraListModel::HasRateRole).toBool();
        switch (index.column()) {
        case CameraListModel::FrameRateColumn:
            return rates ? formatFrameRate(source(CameraListModel::FramesPerSecondRole).toDouble()) : QString();
        case CameraListModel::DataRateColumn:
            return rates ? formatDataRate(source(CameraListModel::BytesPerSecondRole).toULongLong(), m_prefixes)
                         : QString();
        case CameraListModel::MacColumn:
            return formatMACAddress(camera.macAddress.toLatin1().constData(), ":");
        case CameraListModel::IpConfigColumn:
            return ipConfigurationText(camera);
        case CameraListModel::ModelColumn:
            return source(CameraListModel::ModelRole).toString();
        case CameraListModel::SerialColumn:
            return source(CameraListModel::SerialNumberRole).toString();
        case CameraListModel::AddressColumn:
            return camera.address;
        default:
            return source(CameraListModel::NameRole).toString();
        }
    }

    CameraListModel* m_cameras;
    UnitPrefixes m_prefixes = UnitPrefixes::Decimal;
};

MonitorWindow::MonitorWindow(const ChannelSet::Options& options, QWidget* parent)
    : QMainWindow(parent)
    , m_model(options)
{
    setWindowTitle(tr("Camera Monitor"));

    m_cameras = new CameraTable(m_model.cameras(), this);
    m_cameraTable = new QTableView;
    m_cameraTable->setModel(m_cameras);
    m_cameraTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cameraTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_cameraTable->verticalHeader()->hide();
    m_cameraTable->horizontalHeader()->setStretchLastSection(true);
    m_cameraTable->setWordWrap(false);
    m_cameraTable->setToolTip(tr("Double-click a camera to monitor it."));
    connect(m_cameraTable, &QTableView::activated, this,
        [this](const QModelIndex& index) { m_model.openCamera(index.row()); });

    auto* messages = new QListView;
    messages->setModel(m_model.reports());
    messages->setItemDelegate(new ReportDelegate(messages));
    messages->setUniformItemSizes(true);
    messages->setWordWrap(false);
    auto* messagesBox = new QGroupBox(tr("Messages"));
    auto* messagesLayout = new QVBoxLayout(messagesBox);
    messagesLayout->addWidget(messages);

    m_imageView = new ImageView;
    connect(m_imageView, &ImageView::displaySizeChanged, &m_model.channels(), &ChannelSet::setDisplaySize);
    m_chart = new RateChart;
    m_chart->setFormatters([](double fps) { return formatFrameRateSetting(fps); },
        [this](double bytes) { return formatDataRate(static_cast<unsigned long long>(bytes), unitPrefixes()); });
    m_controls = new CameraControls;
    connect(m_controls, &CameraControls::changeRequested, this,
        [this](const SettingsChange& change) { m_model.selected()->changeSettings(change); });

    setCentralWidget(arrangePanes(messagesBox));
    createMenus();
    resize(defaultSize);
    m_windowState = new WindowState(this);

    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this, &MonitorWindow::onDisplayError);
    // The labels, the table and the chart show one reading of the figures.
    connect(&m_model, &MonitorModel::selectionChanged, this, &MonitorWindow::onSelectionChanged);
    connect(&m_model, &MonitorModel::selectedRowChanged, this, &MonitorWindow::onSelectedRowChanged);
    connect(&m_model, &MonitorModel::cameraChanged, this, [this] { m_cameraLabel->setFullText(m_model.cameraText()); });
    connect(&m_model, &MonitorModel::stateChanged, this,
        [this] { m_stateLabel->setFullText(m_model.selected()->stateText()); });
    connect(&m_model, &MonitorModel::settingsChanged, this, &MonitorWindow::showSettings);
    connect(&m_model, &MonitorModel::figuresRead, this, &MonitorWindow::showFigures);
    connect(
        &m_model, &MonitorModel::figuresSampled, this, [this] { m_chart->setPoints(m_model.selected()->history()); });
    connect(&m_model, &MonitorModel::imageChanged, this, &MonitorWindow::showLatestImage);
    connect(&m_model, &MonitorModel::selectedStarted, this, [this](const CameraDescription& camera) {
        statusBar()->showMessage(tr("Streaming from %1").arg(isolatedText(camera.idText())), statusMessageMs);
    });
    connect(m_cameras, &QAbstractItemModel::modelReset, this, [this] {
        if (!m_headerLayoutRestored) {
            m_cameraTable->resizeColumnsToContents();
            limitColumnWidths();
        }
    });

    // The restored settings refresh what the selected channel shows, which the model made first.
    onSelectionChanged();
    showLatestImage();
    restoreLayout();
    m_model.reconnect();
}

QWidget* MonitorWindow::arrangePanes(QWidget* messagesBox)
{
    auto* figuresAndMessages = new QSplitter(Qt::Vertical);
    figuresAndMessages->addWidget(createFiguresPanel());
    figuresAndMessages->addWidget(messagesBox);
    figuresAndMessages->setStretchFactor(1, 1);
    // The figures keep their width; the settings scroll and the image shrinks instead.
    figuresAndMessages->setMinimumWidth(figuresAndMessages->sizeHint().width());
    auto* controlsColumn = new QWidget;
    auto* controlsLayout = new QVBoxLayout(controlsColumn);
    controlsLayout->setContentsMargins(0, 0, 0, 0);
    controlsLayout->addWidget(m_controls);
    controlsLayout->addStretch();
    auto* imageAndChart = new QSplitter(Qt::Vertical);
    imageAndChart->addWidget(m_imageView);
    imageAndChart->addWidget(m_chart);
    imageAndChart->setStretchFactor(0, 3);
    imageAndChart->setStretchFactor(1, 2);
    // The figures and the settings get the widths they ask for, the image and chart the rest, which also
    // gives way when a camera's settings widen their fields.
    m_panes = new QSplitter(Qt::Horizontal);
    m_panes->addWidget(figuresAndMessages);
    m_panes->addWidget(controlsColumn);
    m_panes->addWidget(imageAndChart);
    m_panes->setStretchFactor(2, 1);
    // The table spans the window, so that its columns fit side by side.
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_cameraTable);
    splitter->addWidget(m_panes);
    splitter->setStretchFactor(1, 1);
    return splitter;
}

void MonitorWindow::widenControls()
{
    // As far as the image and chart can give way: the settings scroll sideways only in a small window.
    QList<int> sizes = m_panes->sizes();
    const int spare = sizes[2] - m_panes->widget(2)->minimumSizeHint().width();
    const int shift = qMin(m_controls->sizeHint().width() - m_controls->width(), spare);
    if (shift > 0) {
        sizes[1] += shift;
        sizes[2] -= shift;
        m_panes->setSizes(sizes);
    }
}

QWidget* MonitorWindow::createFiguresPanel()
{
    auto* box = new QGroupBox(tr("Live figures"));
    auto* form = new QFormLayout(box);
    // The rates and counts change twice a second, which would end any selection of them at once.
    const auto addFigure = [form](const QString& name, bool selectable) {
        auto* label = new ElidingLabel;
        label->setAccessibleName(name);
        label->setSelectable(selectable);
        form->addRow(name, label);
        return label;
    };
    m_cameraLabel = addFigure(tr("Camera:"), true);
    m_stateLabel = addFigure(tr("State:"), true);
    m_frameRateLabel = addFigure(tr("Frame rate:"), false);
    m_dataRateLabel = addFigure(tr("Data rate:"), false);
    m_frameSizeLabel = addFigure(tr("Frame size:"), true);
    m_countLabel = addFigure(tr("Counts:"), false);
    // The frame size of a large camera is the widest figure; the panel asks for its width.
    StreamFigures::Snapshot large;
    large.images = 1;
    large.width = 8888;
    large.height = 8888;
    large.frameBytes = 888880000;
    m_frameSizeLabel->setUsualText(formatFrameSize(large, UnitPrefixes::Binary));
    QFont figuresFont = m_frameRateLabel->font();
    figuresFont.setBold(true);
    m_frameRateLabel->setFont(figuresFont);
    m_dataRateLabel->setFont(figuresFont);
    return box;
}

void MonitorWindow::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    QAction* reconnectAction = fileMenu->addAction(tr("&Reconnect"), this, &MonitorWindow::reconnect);
    reconnectAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction* saveAction = fileMenu->addAction(tr("&Save image..."), this, &MonitorWindow::saveImageAs);
    saveAction->setShortcut(QKeySequence::Save);
    fileMenu->addSeparator();
    QAction* quitAction = fileMenu->addAction(tr("&Quit"), this, &QWidget::close);
    quitAction->setShortcut(QKeySequence::Quit);

    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    m_binaryPrefixes = viewMenu->addAction(tr("&Binary prefixes (KiB, MiB)"));
    m_binaryPrefixes->setCheckable(true);
    connect(m_binaryPrefixes, &QAction::toggled, this, &MonitorWindow::showFigures);

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->addAction(tr("&Contact support..."), this, &MonitorWindow::contactSupport);
    helpMenu->addAction(tr("Send &feedback..."), this, &MonitorWindow::sendFeedback);
    helpMenu->addSeparator();
    helpMenu->addAction(tr("&System information..."), this, &MonitorWindow::showSystemInformation);
}

void MonitorWindow::onSelectionChanged()
{
    m_stateLabel->setFullText(m_model.selected()->stateText());
    m_cameraLabel->setFullText(m_model.cameraText());
    m_chart->setPoints(m_model.selected()->history());
    showSettings();
    showFigures();
}

void MonitorWindow::showSettings()
{
    if (m_model.selected()->isStreaming()) {
        m_controls->showSettings(m_model.selected()->settings());
        widenControls();
    } else {
        m_controls->clear();
    }
}

void MonitorWindow::reconnect()
{
    m_model.reconnect();
}

void MonitorWindow::limitColumnWidths()
{
    for (int column = 0; column < CameraListModel::ColumnCount; ++column) {
        m_cameraTable->setColumnWidth(column, qMin(m_cameraTable->columnWidth(column), maxColumnWidth));
    }
    // The rates arrive after the columns were fitted to their contents.
    const QFontMetrics metrics = m_cameraTable->fontMetrics();
    const int margin = 2 * metrics.averageCharWidth();
    for (const auto& [column, widest] : { std::make_pair(CameraListModel::FrameRateColumn, formatFrameRate(888.88)),
             std::make_pair(CameraListModel::DataRateColumn, formatDataRate(888880000, UnitPrefixes::Binary)) }) {
        m_cameraTable->setColumnWidth(
            column, qMax(m_cameraTable->columnWidth(column), metrics.horizontalAdvance(widest) + margin));
    }
}

void MonitorWindow::onSelectedRowChanged()
{
    const int row = m_model.selectedRow();
    if (row < 0) {
        return;
    }
    // The IP configuration is read once the camera is open.
    if (!m_headerLayoutRestored) {
        m_cameraTable->resizeColumnToContents(CameraListModel::IpConfigColumn);
        limitColumnWidths();
    }
    m_cameraTable->selectRow(row);
}

void MonitorWindow::showLatestImage()
{
    const LatestFrame::Frame& frame = m_model.channels().shownFrame();
    m_imageView->setImage(frame.image, frame.fitted);
    if (!m_model.imageMessage().isEmpty()) {
        m_imageView->setPlaceholderText(m_model.imageMessage());
    }
}

void MonitorWindow::showFigures()
{
    const UnitPrefixes prefixes = unitPrefixes();
    m_cameras->setPrefixes(prefixes);
    const StreamFigures::Snapshot& figures = m_model.selected()->figuresNow();
    m_frameRateLabel->setFullText(figures.hasRate ? formatFrameRate(figures.framesPerSecond) : tr("-"));
    m_dataRateLabel->setFullText(figures.hasRate ? formatDataRate(figures.bytesPerSecond, prefixes) : tr("-"));
    m_frameSizeLabel->setFullText(figures.images > 0 ? formatFrameSize(figures, prefixes) : tr("-"));
    m_countLabel->setFullText(formatImageCount(figures.images, figures.errors));
}

UnitPrefixes MonitorWindow::unitPrefixes() const
{
    return m_binaryPrefixes->isChecked() ? UnitPrefixes::Binary : UnitPrefixes::Decimal;
}

void MonitorWindow::saveImageAs()
{
    if (m_model.channels().shownFrame().image.isNull()) {
        statusBar()->showMessage(tr("No image to save."), statusMessageMs);
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Image"),
        QStringLiteral("frame-%1.png").arg(m_model.channels().shownFrame().frameId), tr("PNG images (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    statusBar()->showMessage(
        m_model.saveImage(path) ? tr("Saved the image to %1").arg(path) : tr("Cannot write the image to %1").arg(path),
        statusMessageMs);
}

void MonitorWindow::onDisplayError(AsyncErrorQueue::ErrorSeverity, const QString& message, const QString&, QWidget*)
{
    statusBar()->showMessage(message, statusMessageMs);
}

void MonitorWindow::contactSupport()
{
    if (!ContactVelnorSupport()) {
        statusBar()->showMessage(
            tr("No mail program is set up; see Help > System information for the text to send."), statusMessageMs);
    }
}

void MonitorWindow::sendFeedback()
{
    if (!OpenFeedbackUrl()) {
        statusBar()->showMessage(
            tr("No web browser is set up; the feedback page is %1").arg(GetFeedbackUrl(false).toString()),
            statusMessageMs);
    }
}

void MonitorWindow::showSystemInformation()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("System Information"));
    auto* text = new QPlainTextEdit(GetVelnorSupportInfo(true));
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, text, [text] { QApplication::clipboard()->setText(text->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.resize(560, 420);
    dialog.exec();
}

void MonitorWindow::closeEvent(QCloseEvent* event)
{
    saveLayout();
    m_model.stop();
    event->accept();
}

void MonitorWindow::restoreLayout()
{
    QSettings settings;
    settings.beginGroup(settingsGroup());
    restoreWidgetPositionAndSize(&settings, this, nullptr);
    m_windowState->restore(&settings);
    m_headerLayoutRestored
        = restoreHeaderLayout(&settings, cameraTableLayoutVersion, m_cameraTable->horizontalHeader());
    m_binaryPrefixes->setChecked(settings.value(binaryPrefixesKey(), false).toBool());
}

void MonitorWindow::saveLayout() const
{
    QSettings settings;
    settings.beginGroup(settingsGroup());
    saveWidgetPositionAndSize(&settings, this, nullptr);
    m_windowState->save(&settings);
    saveHeaderLayout(&settings, cameraTableLayoutVersion, m_cameraTable->horizontalHeader());
    settings.setValue(binaryPrefixesKey(), m_binaryPrefixes->isChecked());
}
