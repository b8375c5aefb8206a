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
    /**
     * Shows @p image; @p fitted, when it has the size the image is drawn at in
     * device pixels, is drawn instead without scaling (see fittedImage()).
     */
    void setImage(const QImage& image, const QImage& fitted = QImage());
    void setPlaceholderText(const QString& text);
    /** Where the image is drawn, in widget coordinates; empty without an image. */
    QRect imageRect() const;

    /** The view's size in device pixels, which an image fills without scaling. */
    QSize displaySize() const;

    QSize sizeHint() const override { return { 320, 240 }; }

Q_SIGNALS:
    void displaySizeChanged(const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Drawing
    {
        QRectF target; ///< imageRect(), or the fitted image's own size in it
        bool fitted; ///< the fitted image is drawn, unscaled
    };
    /** How paintEvent() draws the image now. */
    Drawing drawing() const;

    QImage m_image;
    QImage m_fitted;
    QString m_placeholder;
    QRect m_lastTarget; ///< where the last paint drew an image; empty when it drew none
};

#endif
