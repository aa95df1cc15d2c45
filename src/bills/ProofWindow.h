#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QPdfDocument;
class QPdfView;
class QToolBar;

namespace pennock::ui {

/// Shows the proof of a bill (a PDF of the values over the form picture) in a window of our
/// own, with zoom, and prints the bill from there.
class ProofWindow : public QWidget
{
    Q_OBJECT
public:
    /// `print` prints the bill the proof shows.
    ProofWindow(std::function<void()> print, QWidget* parent = nullptr);
    ~ProofWindow() override;

    /// Shows the proof in `path`; empty on success, else why it cannot be shown.
    QString load(const QString& path);
    /// Lets go of the file shown, so that it can be written again.
    void release();

    QPdfView* view() const { return mView; }
    QPdfDocument* document() const { return mDocument; }
    QAction* action(const QString& name) const;

    void zoomIn();
    void zoomOut();
    void fitWidth();
    void fitPage();
    /// The zoom factor of the page as shown, fitted or not.
    double shownZoom() const;

private:
    void zoomBy(double factor);

    QToolBar* mBar;
    QPdfView* mView;
    QPdfDocument* mDocument;
};

} // namespace pennock::ui
