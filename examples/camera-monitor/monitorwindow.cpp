// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitorwindow.h"

#include "cameracontrols.h"
#include "elidinglabel.h"
#include "imageview.h"
#include "messagelog.h"
#include "pixelconversion.h"
#include "ratechart.h"
#include "savedframe.h"
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
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardItemModel>
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

enum CameraColumn {
    NameColumn,
    FrameRateColumn,
    DataRateColumn,
    ModelColumn,
    SerialColumn,
    MacColumn,
    AddressColumn,
    IpConfigColumn,
    ColumnCount
};

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

void setCellText(QStandardItem* item, const QString& text)
{
    item->setText(text);
    item->setToolTip(text);
}

QList<QStandardItem*> cameraRow(const CameraDescription& camera)
{
    const Tavix::CDeviceInfo info = toDeviceInfo(camera);
    const QByteArray mac = camera.macAddress.toLatin1();
    const QStringList texts { isolatedText(formatDeviceName(&info, FormatDeviceNameFlags())), QString(), QString(),
        isolatedText(camera.model), isolatedText(camera.serialNumber), formatMACAddress(mac.constData(), ":"),
        camera.address, ipConfigurationText(camera) };
    QList<QStandardItem*> row;
    for (const QString& text : texts) {
        auto* item = new QStandardItem;
        setCellText(item, text);
        item->setEditable(false);
        item->setData(camera.id, Qt::UserRole);
        row.append(item);
    }
    row.at(FrameRateColumn)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row.at(DataRateColumn)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (camera.looksDamaged()) {
        QStandardItem* name = row.at(NameColumn);
        name->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
        name->setToolTip(
            MonitorWindow::tr("This discovery answer does not look like a camera's; it may be damaged.\n%1")
                .arg(name->text()));
    }
    return row;
}

} // namespace

MonitorWindow::MonitorWindow(const ChannelSet::Options& options, QWidget* parent)
    : QMainWindow(parent)
    , m_channels(options)
{
    setWindowTitle(tr("Camera Monitor"));

    m_cameras = new QStandardItemModel(0, ColumnCount, this);
    m_cameras->setHorizontalHeaderLabels({ tr("Name"), tr("Frame rate"), tr("Data rate"), tr("Model"),
        tr("Serial number"), tr("MAC address"), tr("IP address"), tr("IP configuration") });
    m_cameraTable = new QTableView;
    m_cameraTable->setModel(m_cameras);
    m_cameraTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cameraTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_cameraTable->verticalHeader()->hide();
    m_cameraTable->horizontalHeader()->setStretchLastSection(true);
    m_cameraTable->setWordWrap(false);
    m_cameraTable->setToolTip(tr("Double-click a camera to monitor it."));
    connect(m_cameraTable, &QTableView::activated, this, &MonitorWindow::onCameraActivated);

    m_messages = new MessageLog;
    auto* messagesBox = new QGroupBox(tr("Messages"));
    auto* messagesLayout = new QVBoxLayout(messagesBox);
    messagesLayout->addWidget(m_messages);

    m_imageView = new ImageView;
    m_imageView->setPlaceholderText(tr("No image"));
    connect(m_imageView, &ImageView::displaySizeChanged, &m_channels, &ChannelSet::setDisplaySize);
    m_chart = new RateChart;
    m_chart->setFormatters([](double fps) { return formatFrameRateSetting(fps); },
        [this](double bytes) { return formatDataRate(static_cast<unsigned long long>(bytes), unitPrefixes()); });
    m_controls = new CameraControls;
    connect(m_controls, &CameraControls::changeRequested, this,
        [this](const SettingsChange& change) { m_channels.selected()->changeSettings(change); });

    setCentralWidget(arrangePanes(messagesBox));
    createMenus();
    resize(defaultSize);
    m_windowState = new WindowState(this);

    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this, &MonitorWindow::onDisplayError);
    // The labels, the table and the chart show one reading of the figures.
    connect(&m_channels, &ChannelSet::channelAdded, this, &MonitorWindow::follow);
    connect(&m_channels, &ChannelSet::selectionChanged, this, &MonitorWindow::onSelectionChanged);
    connect(&m_channels, &ChannelSet::figuresRead, this, &MonitorWindow::showFigures);
    connect(&m_channels, &ChannelSet::figuresSampled, this, &MonitorWindow::onFiguresSampled);
    connect(&m_channels, &ChannelSet::frameTaken, this, &MonitorWindow::showLatestImage);

    // The restored settings refresh what the selected channel shows, so it exists first.
    m_channels.addFirst();
    restoreLayout();
    m_channels.selected()->connectCamera(true);
}

StreamFigures::Snapshot MonitorWindow::currentFigures() const
{
    return m_channels.selected()->figuresNow();
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

void MonitorWindow::follow(CameraChannel* channel)
{
    connect(channel, &CameraChannel::camerasDiscovered, this, &MonitorWindow::onCamerasDiscovered);
    connect(channel, &CameraChannel::streamingStarted, this,
        [this, channel](const CameraDescription& camera) { onChannelStarted(channel, camera); });
    connect(channel, &CameraChannel::stateChanged, this, [this, channel](const QString& state) {
        if (channel == m_channels.selected()) {
            m_stateLabel->setFullText(state);
        }
    });
    connect(channel, &CameraChannel::settingsRead, this, [this, channel](const CameraSettings& settings) {
        if (channel == m_channels.selected()) {
            m_controls->showSettings(settings);
            widenControls();
        }
    });
}

void MonitorWindow::onSelectionChanged()
{
    const CameraChannel* channel = m_channels.selected();
    m_imageView->setImage(QImage());
    m_imageView->setPlaceholderText(tr("No image"));
    m_stateLabel->setFullText(channel->stateText());
    // A camera not opened yet leaves the last one named until it streams.
    const CameraDescription& camera = channel->camera();
    if (!camera.id.isEmpty()) {
        m_cameraLabel->setFullText(QStringLiteral("%1, %2").arg(isolatedText(camera.idText()), camera.address));
    }
    if (channel->isStreaming()) {
        m_controls->showSettings(channel->settings());
        widenControls();
    } else {
        m_controls->clear();
    }
    m_chart->setPoints(channel->history());
    showFigures();
}

void MonitorWindow::reconnect()
{
    m_channels.selected()->connectCamera(true);
}

void MonitorWindow::onCameraActivated(const QModelIndex& index)
{
    m_channels.activate(index.siblingAtColumn(NameColumn).data(Qt::UserRole).toByteArray());
}

void MonitorWindow::onCamerasDiscovered(const QList<CameraDescription>& cameras)
{
    m_cameras->removeRows(0, m_cameras->rowCount());
    for (CameraDescription camera : cameras) {
        camera.ipConfiguration = m_ipConfigurations.value(camera.id, camera.ipConfiguration);
        m_cameras->appendRow(cameraRow(camera));
    }
    if (!m_headerLayoutRestored) {
        m_cameraTable->resizeColumnsToContents();
        limitColumnWidths();
    }
    if (m_channels.selected()->isStreaming()) {
        selectCameraRow(m_channels.selected()->camera());
    }
    updateTableRates();
    m_channels.openOthers(cameras);
}

void MonitorWindow::limitColumnWidths()
{
    for (int column = 0; column < ColumnCount; ++column) {
        m_cameraTable->setColumnWidth(column, qMin(m_cameraTable->columnWidth(column), maxColumnWidth));
    }
    // The rates arrive after the columns were fitted to their contents.
    const QFontMetrics metrics = m_cameraTable->fontMetrics();
    const int margin = 2 * metrics.averageCharWidth();
    for (const auto& [column, widest] : { std::make_pair(FrameRateColumn, formatFrameRate(888.88)),
             std::make_pair(DataRateColumn, formatDataRate(888880000, UnitPrefixes::Binary)) }) {
        m_cameraTable->setColumnWidth(
            column, qMax(m_cameraTable->columnWidth(column), metrics.horizontalAdvance(widest) + margin));
    }
}

void MonitorWindow::onChannelStarted(CameraChannel* channel, const CameraDescription& camera)
{
    m_ipConfigurations.insert(camera.id, camera.ipConfiguration);
    if (channel == m_channels.selected()) {
        selectCameraRow(camera);
        m_cameraLabel->setFullText(QStringLiteral("%1, %2").arg(isolatedText(camera.idText()), camera.address));
        statusBar()->showMessage(tr("Streaming from %1").arg(isolatedText(camera.idText())), statusMessageMs);
    }
    Q_EMIT streamingStarted(visibleText(camera.idText()));
}

void MonitorWindow::selectCameraRow(const CameraDescription& camera)
{
    for (int row = 0; row < m_cameras->rowCount(); ++row) {
        if (m_cameras->item(row, NameColumn)->data(Qt::UserRole).toByteArray() == camera.id) {
            setCellText(m_cameras->item(row, IpConfigColumn), ipConfigurationText(camera));
            if (!m_headerLayoutRestored) {
                m_cameraTable->resizeColumnToContents(IpConfigColumn);
                limitColumnWidths();
            }
            m_cameraTable->selectRow(row);
            return;
        }
    }
}

void MonitorWindow::onFiguresSampled()
{
    m_chart->setPoints(m_channels.selected()->history());
    Q_EMIT figuresSampled();
}

void MonitorWindow::updateTableRates()
{
    const UnitPrefixes prefixes = unitPrefixes();
    for (int row = 0; row < m_cameras->rowCount(); ++row) {
        const CameraChannel* channel
            = m_channels.channelFor(m_cameras->item(row, NameColumn)->data(Qt::UserRole).toByteArray());
        const bool shown = channel && channel->isStreaming() && channel->figuresNow().hasRate;
        const StreamFigures::Snapshot& figures = channel ? channel->figuresNow() : StreamFigures::Snapshot();
        setCellText(
            m_cameras->item(row, FrameRateColumn), shown ? formatFrameRate(figures.framesPerSecond) : QString());
        setCellText(
            m_cameras->item(row, DataRateColumn), shown ? formatDataRate(figures.bytesPerSecond, prefixes) : QString());
    }
}

void MonitorWindow::showLatestImage()
{
    const LatestFrame::Frame& frame = m_channels.shownFrame();
    m_imageView->setImage(frame.image, frame.fitted);
    if (frame.image.isNull() && frame.pixelFormat != 0) {
        m_imageView->setPlaceholderText(
            tr("The pixel format 0x%1 cannot be shown.").arg(frame.pixelFormat, 8, 16, QLatin1Char('0')));
    }
}

void MonitorWindow::showFigures()
{
    updateTableRates();
    const StreamFigures::Snapshot& figures = m_channels.selected()->figuresNow();
    const UnitPrefixes prefixes = unitPrefixes();
    m_frameRateLabel->setFullText(figures.hasRate ? formatFrameRate(figures.framesPerSecond) : tr("-"));
    m_dataRateLabel->setFullText(figures.hasRate ? formatDataRate(figures.bytesPerSecond, prefixes) : tr("-"));
    m_frameSizeLabel->setFullText(figures.images > 0 ? formatFrameSize(figures, prefixes) : tr("-"));
    m_countLabel->setFullText(formatImageCount(figures.images, figures.errors));
}

UnitPrefixes MonitorWindow::unitPrefixes() const
{
    return m_binaryPrefixes->isChecked() ? UnitPrefixes::Binary : UnitPrefixes::Decimal;
}

bool MonitorWindow::saveImage(const QString& path) const
{
    return saveFrame(m_channels.shownFrame(), path);
}

void MonitorWindow::saveImageAs()
{
    if (m_channels.shownFrame().image.isNull()) {
        statusBar()->showMessage(tr("No image to save."), statusMessageMs);
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Image"),
        QStringLiteral("frame-%1.png").arg(m_channels.shownFrame().frameId), tr("PNG images (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    statusBar()->showMessage(
        saveImage(path) ? tr("Saved the image to %1").arg(path) : tr("Cannot write the image to %1").arg(path),
        statusMessageMs);
}

void MonitorWindow::onDisplayError(
    AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details, QWidget*)
{
    statusBar()->showMessage(message, statusMessageMs);
    m_messages->addReport(severity, message, details);
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
    m_channels.stop();
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
