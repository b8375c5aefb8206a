// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The cameras found, as both monitors list them.
#ifndef CAMERACORE_CAMERALIST_H
#define CAMERACORE_CAMERALIST_H

#include "cameradescription.h"

#include <QAbstractTableModel>
#include <QHash>

class ChannelSet;

/**
 * The cameras of the newest discovery, one row each, with the IP configuration
 * each had when it was last opened (discovery alone does not tell it) and the
 * rates of those that stream. The roles (roleNames()) give the raw values, for
 * every column alike; a window formats them itself, in QML or by overriding
 * data() for the display roles of its columns. GUI thread.
 */
class CameraListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
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
    enum Role {
        IdRole = Qt::UserRole,
        NameRole, ///< the device name through isolatedText()
        DamagedRole, ///< see CameraDescription::looksDamaged()
        ModelRole,
        SerialNumberRole,
        MacAddressRole,
        AddressRole,
        GigERole,
        IpConfigurationRole, ///< the library's bits, see CameraDescription::ipConfigurationMethods()
        IpConfigurationBitsRole, ///< as the camera reported them; -1 until it is open
        HasRateRole,
        FramesPerSecondRole,
        BytesPerSecondRole
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    /** The columns' names, which both windows show above their lists. */
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    /** Lists @p cameras anew, each with the IP configuration read when it was last opened. */
    void setCameras(const QList<CameraDescription>& cameras);
    /** Keeps the IP configuration of @p camera, just opened, and shows it in its row. */
    void noteOpened(const CameraDescription& camera);
    /** Takes every listed camera's rates from its channel in @p channels, as last read. */
    void updateRates(const ChannelSet& channels);

    const CameraDescription& camera(int row) const { return m_rows.at(row).camera; }
    /** The row of the camera with Aravis's id @p id, -1 when it is not listed. */
    int rowOf(const QByteArray& id) const;
    /** The row of the camera at @p address, -1 when none is listed there. */
    int rowOfAddress(const QString& address) const;

private:
    struct Row
    {
        CameraDescription camera;
        QHash<int, QVariant> roles; ///< formatted once: the cells are read for every paint
    };

    QList<Row> m_rows;
    QHash<QByteArray, long long> m_ipConfigurations; ///< by camera id, as read when each camera was last opened
};

#endif
