// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The live image of the selected camera.
#ifndef CAMERAMONITOR_IMAGEVIEW_H
#define CAMERAMONITOR_IMAGEVIEW_H

#include <QImage>
#include <QWidget>

/**
 * Shows an image scaled to fit, keeping its aspect ratio, centred on a dark
 * background; without an image it shows its placeholder text.
 */
class ImageView : public QWidget
{
    Q_OBJECT

public:
    explicit ImageView(QWidget* parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    void setPlaceholderText(const QString& text);
    /** Where the image is drawn, in widget coordinates; empty without an image. */
    QRect imageRect() const;

    QSize sizeHint() const override { return { 320, 240 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    QString m_placeholder;
};

#endif
