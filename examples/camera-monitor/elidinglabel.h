// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A label for texts of any length, camera names among them.
#ifndef CAMERAMONITOR_ELIDINGLABEL_H
#define CAMERAMONITOR_ELIDINGLABEL_H

#include <QWidget>

class QLabel;

/**
 * Shows as much of its text as fits, with "…" at the end, and the whole text in
 * its tooltip. Unlike a plain label it asks its layout for the width of its usual
 * text, not of the text it shows, so a long text cannot widen the window.
 *
 * The text is shown by a label of exactly this widget's size, outside any layout:
 * a plain label asks its layout to be laid out anew at each change of its text,
 * which for a figure shown twice a second re-lays the whole window each time.
 */
class ElidingLabel : public QWidget
{
    Q_OBJECT

public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    /** The whole text. */
    QString fullText() const { return m_fullText; }
    void setFullText(const QString& text);
    /** The part of the text shown. */
    QString shownText() const;
    /** True while the label shows only part of its text. */
    bool isElided() const { return shownText() != m_fullText; }
    /**
     * The widest text the label usually shows: its width is what the label asks of
     * its layout. Without one the label asks for no width.
     */
    void setUsualText(const QString& text);
    /** Lets the user select the text with the mouse, for a text that does not change while it is selected. */
    void setSelectable(bool selectable);

    QSize sizeHint() const override;
    /** Any width: the label elides. */
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFitting();
    /** The height of one line of text, which the label asks for whatever it shows. */
    int lineHeight() const;

    QLabel* m_label;
    QString m_fullText;
    QString m_usualText;
    int m_usualWidth = 0;
    mutable int m_lineHeight = -1;
};

#endif
