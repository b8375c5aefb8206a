// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameralist.h"

#include "channelset.h"

#include <TavixQtBase/stringhelpers.h>

#include <algorithm>

int CameraListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CameraListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CameraListModel::data(const QModelIndex& index, int role) const
{
    return index.isValid() ? m_rows.at(index.row()).roles.value(role) : QVariant();
}

QVariant CameraListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QStringList headers { tr("Name"), tr("Frame rate"), tr("Data rate"), tr("Model"), tr("Serial number"),
        tr("MAC address"), tr("IP address"), tr("IP configuration") };
    return orientation == Qt::Horizontal && role == Qt::DisplayRole
        ? QVariant(headers.value(section))
        : QAbstractTableModel::headerData(section, orientation, role);
}

QHash<int, QByteArray> CameraListModel::roleNames() const
{
    return { { NameRole, "name" }, { DamagedRole, "damaged" }, { ModelRole, "model" },
        { SerialNumberRole, "serialNumber" }, { MacAddressRole, "macAddress" }, { AddressRole, "address" },
        { GigERole, "gigE" }, { IpConfigurationRole, "ipConfiguration" },
        { IpConfigurationBitsRole, "ipConfigurationBits" }, { HasRateRole, "hasRate" },
        { FramesPerSecondRole, "framesPerSecond" }, { BytesPerSecondRole, "bytesPerSecond" } };
}

void CameraListModel::setCameras(const QList<CameraDescription>& cameras)
{
    beginResetModel();
    m_rows.clear();
    for (CameraDescription camera : cameras) {
        camera.ipConfiguration = m_ipConfigurations.value(camera.id, camera.ipConfiguration);
        const Tavix::CDeviceInfo info = toDeviceInfo(camera);
        m_rows.append({ camera,
            { { IdRole, camera.id }, { NameRole, isolatedText(formatDeviceName(&info, FormatDeviceNameFlags())) },
                { DamagedRole, camera.looksDamaged() }, { ModelRole, isolatedText(camera.model) },
                { SerialNumberRole, isolatedText(camera.serialNumber) }, { MacAddressRole, camera.macAddress },
                { AddressRole, camera.address }, { GigERole, camera.isGigE() },
                { IpConfigurationRole, camera.ipConfigurationMethods() },
                { IpConfigurationBitsRole, camera.ipConfiguration }, { HasRateRole, false },
                { FramesPerSecondRole, 0.0 }, { BytesPerSecondRole, 0.0 } } });
    }
    endResetModel();
}

void CameraListModel::noteOpened(const CameraDescription& camera)
{
    m_ipConfigurations.insert(camera.id, camera.ipConfiguration);
    const int row = rowOf(camera.id);
    if (row >= 0) {
        m_rows[row].camera.ipConfiguration = camera.ipConfiguration;
        m_rows[row].roles.insert(IpConfigurationRole, camera.ipConfigurationMethods());
        m_rows[row].roles.insert(IpConfigurationBitsRole, camera.ipConfiguration);
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

void CameraListModel::updateRates(const ChannelSet& channels)
{
    for (Row& row : m_rows) {
        const CameraChannel* channel = channels.channelFor(row.camera.id);
        const bool shown = channel && channel->isStreaming() && channel->figuresNow().hasRate;
        row.roles.insert(HasRateRole, shown);
        row.roles.insert(FramesPerSecondRole, shown ? channel->figuresNow().framesPerSecond : 0.0);
        row.roles.insert(BytesPerSecondRole, shown ? double(channel->figuresNow().bytesPerSecond) : 0.0);
    }
    // From the first column on: a QML list view watches only that one.
    if (!m_rows.isEmpty()) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, DataRateColumn));
    }
}

int CameraListModel::rowOf(const QByteArray& id) const
{
    const auto row
        = std::find_if(m_rows.cbegin(), m_rows.cend(), [&id](const Row& row) { return row.camera.id == id; });
    return row == m_rows.cend() ? -1 : int(row - m_rows.cbegin());
}

int CameraListModel::rowOfAddress(const QString& address) const
{
    const auto row = std::find_if(
        m_rows.cbegin(), m_rows.cend(), [&address](const Row& row) { return row.camera.address == address; });
    return row == m_rows.cend() ? -1 : int(row - m_rows.cbegin());
}
