// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_QML_WINDOWLAYOUT_H
#define TAVIXQTBASE_QML_WINDOWLAYOUT_H

#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QString>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

/**
 * The QML element WindowLayout: keeps a window's position, size and maximized
 * or full-screen state in group @c group of the application's settings, with
 * restoreWindowPositionAndSize() just before the window is first shown and
 * saveWindowPositionAndSize() when it closes.
 *
 * Declared inside a Window it takes that window; @c window names another one.
 */
class WindowLayout : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(QWindow* window READ window WRITE setWindow NOTIFY windowChanged)
    Q_PROPERTY(QString group READ group WRITE setGroup NOTIFY groupChanged)
    /** Whether the last restore moved the window to its stored place. */
    Q_PROPERTY(bool restored READ isRestored NOTIFY restoredChanged)

public:
    explicit WindowLayout(QObject* parent = nullptr);

    QWindow* window() const { return m_window; }
    void setWindow(QWindow* window);
    QString group() const { return m_group; }
    void setGroup(const QString& group);
    bool isRestored() const { return m_restored; }

    /** Writes the window's state now; false without a window or a group. */
    Q_INVOKABLE bool save();
    /** Applies the stored state now; true when the window was moved to its stored place. */
    Q_INVOKABLE bool restore();

    void classBegin() override { }
    void componentComplete() override;

Q_SIGNALS:
    void windowChanged();
    void groupChanged();
    void restoredChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWindow> m_window;
    QString m_group;
    bool m_restored = false;
    // Restored once, before the first show; later shows keep where the user put it.
    bool m_shownBefore = false;
};

#endif
