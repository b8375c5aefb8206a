// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitorwindow.h"

#include "elidinglabel.h"
#include "messagelog.h"

#include <TavixQtBase/layoutpersistence.h>
#include <TavixQtBase/stringhelpers.h>
#include <TavixQtBase/supportinfo.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Raise when the table's columns change, so that an old saved layout is not applied.
constexpr int cameraTableLayoutVersion = 1;
constexpr int figuresIntervalMs = 500;
constexpr int statusMessageMs = 10000;
// Wider cells elide their text; the tooltip has all of it.
constexpr int maxColumnWidth = 240;

enum CameraColumn { NameColumn, ModelColumn, SerialColumn, MacColumn, AddressColumn, IpConfigColumn, ColumnCount };

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
    const QStringList texts { isolatedText(formatDeviceName(&info, FormatDeviceNameFlags())),
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
    if (camera.looksDamaged()) {
        QStandardItem* name = row.at(NameColumn);
        name->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
        name->setToolTip(
            MonitorWindow::tr("This discovery answer does not look like a camera's; it may be damaged.\n%1")
                .arg(name->text()));
    }
    return row;
}

QJsonArray jsonArray(const QStringList& texts)
{
    QJsonArray array;
    for (const QString& text : texts) {
        array.append(text);
    }
    return array;
}

} // namespace

MonitorWindow::MonitorWindow(const QString& cameraName, double frameRate, double retryIntervalSeconds, QWidget* parent)
    : QMainWindow(parent)
    , m_figures(std::make_shared<StreamFigures>())
{
    m_request.cameraName = cameraName;
    m_request.frameRate = frameRate;
    setWindowTitle(tr("Camera Monitor"));

    m_cameras = new QStandardItemModel(0, ColumnCount, this);
    m_cameras->setHorizontalHeaderLabels(
        { tr("Name"), tr("Model"), tr("Serial number"), tr("MAC address"), tr("IP address"), tr("IP configuration") });
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

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_cameraTable);
    splitter->addWidget(createFiguresPanel());
    splitter->addWidget(messagesBox);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(2, 1);
    setCentralWidget(splitter);
    createMenus();
    resize(760, 560);

    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this, &MonitorWindow::onDisplayError);
    connect(&m_figuresTimer, &QTimer::timeout, this, &MonitorWindow::updateFigures);
    m_figuresTimer.start(figuresIntervalMs);
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(static_cast<int>(retryIntervalSeconds * 1000));
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { connectTo(false); });

    restoreLayout();
    updateFigures();
    connectTo(true);
}

MonitorWindow::~MonitorWindow()
{
    stopStreaming();
}

StreamFigures::Snapshot MonitorWindow::currentFigures()
{
    return m_figures->snapshot();
}

QJsonObject MonitorWindow::shownTexts() const
{
    QJsonObject labels;
    for (const ElidingLabel* label : m_figureLabels) {
        labels.insert(label->accessibleName(), label->fullText());
    }
    QJsonArray table;
    for (int row = 0; row < m_cameras->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column) {
            cells.append(m_cameras->item(row, column)->text());
        }
        table.append(jsonArray(cells));
    }
    QStringList messages;
    for (int row = 0; row < m_messages->count(); ++row) {
        messages.append(m_messages->item(row)->text());
    }
    return { { QStringLiteral("size"), QJsonArray { width(), height() } }, { QStringLiteral("labels"), labels },
        { QStringLiteral("table"), table }, { QStringLiteral("messages"), jsonArray(messages) },
        { QStringLiteral("status"), statusBar()->currentMessage() } };
}

QWidget* MonitorWindow::createFiguresPanel()
{
    auto* box = new QGroupBox(tr("Live figures"));
    auto* form = new QFormLayout(box);
    const auto addFigure = [this, form](const QString& name) {
        auto* label = new ElidingLabel;
        label->setAccessibleName(name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(name, label);
        m_figureLabels.append(label);
        return label;
    };
    m_cameraLabel = addFigure(tr("Camera:"));
    m_stateLabel = addFigure(tr("State:"));
    m_frameRateLabel = addFigure(tr("Frame rate:"));
    m_dataRateLabel = addFigure(tr("Data rate:"));
    m_frameSizeLabel = addFigure(tr("Frame size:"));
    m_countLabel = addFigure(tr("Counts:"));
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
    fileMenu->addSeparator();
    QAction* quitAction = fileMenu->addAction(tr("&Quit"), this, &QWidget::close);
    quitAction->setShortcut(QKeySequence::Quit);

    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    m_binaryPrefixes = viewMenu->addAction(tr("&Binary prefixes (KiB, MiB)"));
    m_binaryPrefixes->setCheckable(true);
    connect(m_binaryPrefixes, &QAction::toggled, this, &MonitorWindow::updateFigures);

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->addAction(tr("&Contact support..."), this, &MonitorWindow::contactSupport);
    helpMenu->addAction(tr("Send &feedback..."), this, &MonitorWindow::sendFeedback);
    helpMenu->addSeparator();
    helpMenu->addAction(tr("&System information..."), this, &MonitorWindow::showSystemInformation);
}

void MonitorWindow::reconnect()
{
    connectTo(true);
}

bool MonitorWindow::activateCameraAt(const QString& address)
{
    for (int row = 0; row < m_cameras->rowCount(); ++row) {
        if (m_cameras->item(row, AddressColumn)->text() == address) {
            onCameraActivated(m_cameras->index(row, AddressColumn));
            return true;
        }
    }
    return false;
}

void MonitorWindow::connectTo(bool reportFailure)
{
    stopStreaming();
    m_retryTimer.stop();
    m_stateLabel->setFullText(tr("Looking for cameras..."));
    m_request.reportConnectFailure = reportFailure;
    m_streamer = new CameraStreamer(m_request, m_figures);
    connect(m_streamer, &CameraStreamer::camerasDiscovered, this, &MonitorWindow::onCamerasDiscovered);
    connect(m_streamer, &CameraStreamer::streamingStarted, this, &MonitorWindow::onStreamingStarted);
    connect(m_streamer, &CameraStreamer::streamingEnded, this, &MonitorWindow::onStreamingEnded);
    m_streamer->start();
}

void MonitorWindow::stopStreaming()
{
    if (m_streamer) {
        // Never waits: a camera may hold the thread in Aravis for minutes.
        CameraStreamer::release(m_streamer);
        m_streamer = nullptr;
    }
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
    m_stateLabel->setFullText(tr("Connecting..."));
}

void MonitorWindow::limitColumnWidths()
{
    for (int column = 0; column < ColumnCount; ++column) {
        m_cameraTable->setColumnWidth(column, qMin(m_cameraTable->columnWidth(column), maxColumnWidth));
    }
}

void MonitorWindow::onStreamingStarted(const CameraDescription& camera)
{
    m_figures->restart();
    m_ipConfigurations.insert(camera.id, camera.ipConfiguration);
    selectCameraRow(camera);
    m_cameraLabel->setFullText(QStringLiteral("%1, %2").arg(isolatedText(camera.idText()), camera.address));
    m_stateLabel->setFullText(tr("Streaming"));
    statusBar()->showMessage(tr("Streaming from %1").arg(isolatedText(camera.idText())), statusMessageMs);
    Q_EMIT streamingStarted(visibleText(camera.idText()));
}

void MonitorWindow::onStreamingEnded(CameraStreamer::EndReason reason, const QString& message)
{
    if (reason == CameraStreamer::Stopped) {
        m_stateLabel->setFullText(tr("Stopped"));
        return;
    }
    if (m_retryTimer.interval() > 0) {
        m_stateLabel->setFullText(tr("%1 Retrying every %2 s.").arg(message).arg(m_retryTimer.interval() / 1000.0));
        m_retryTimer.start();
    } else {
        m_stateLabel->setFullText(tr("%1 Use File > Reconnect to try again.").arg(message));
    }
}

void MonitorWindow::onCameraActivated(const QModelIndex& index)
{
    m_request.cameraId = index.siblingAtColumn(NameColumn).data(Qt::UserRole).toByteArray();
    connectTo(true);
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

void MonitorWindow::updateFigures()
{
    const StreamFigures::Snapshot figures = m_figures->snapshot();
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

void MonitorWindow::onDisplayError(
    AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details, QWidget*)
{
    ++m_reportsReceived;
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
    stopStreaming();
    event->accept();
}

void MonitorWindow::restoreLayout()
{
    QSettings settings;
    settings.beginGroup(settingsGroup());
    restoreWidgetPositionAndSize(&settings, this, nullptr);
    m_headerLayoutRestored
        = restoreHeaderLayout(&settings, cameraTableLayoutVersion, m_cameraTable->horizontalHeader());
    m_binaryPrefixes->setChecked(settings.value(binaryPrefixesKey(), false).toBool());
}

void MonitorWindow::saveLayout() const
{
    QSettings settings;
    settings.beginGroup(settingsGroup());
    saveWidgetPositionAndSize(&settings, this, nullptr);
    saveHeaderLayout(&settings, cameraTableLayoutVersion, m_cameraTable->horizontalHeader());
    settings.setValue(binaryPrefixesKey(), m_binaryPrefixes->isChecked());
}
