#include "app/conversionprogress.h"

#include "app/apptexts.h"
#include "app/conversionjob.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QString>

#include <memory>

namespace orvo::app {

namespace {

std::unique_ptr<QProgressDialog> makeProgressDialog(ConversionJob& job)
{
    const int pages = static_cast<int>(job.pageCount());
    auto dialog = std::make_unique<QProgressDialog>(
        QString(), QString::fromUtf8(texts::kConvertCancel), 0, pages);
    dialog->setWindowTitle(QString::fromUtf8(texts::kConvertProgressCaption));
    dialog->setWindowModality(Qt::ApplicationModal);
    // Shown at once and kept up to the end: the job decides when it is over.
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    QObject::connect(dialog.get(), &QProgressDialog::canceled, &job, &ConversionJob::cancel);
    dialog->show();
    return dialog;
}

void showProgress(QProgressDialog& dialog, const ConversionJob& job)
{
    const int done = static_cast<int>(job.pagesDone());
    dialog.setLabelText(QString::fromUtf8(texts::kConvertProgress)
                            .arg(done)
                            .arg(static_cast<qulonglong>(job.pageCount())));
    dialog.setValue(done);
}

} // namespace

bool convertWithProgress(config::Presentation& presentation, platform::Messages& messages)
{
    ConversionJob job(presentation, messages);
    QEventLoop loop;
    QObject::connect(&job, &ConversionJob::changed, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    std::unique_ptr<QProgressDialog> dialog;
    // Made as the page count arrives, so that it is up before the first
    // message of the conversion, which is handed over after it.
    QObject::connect(
        &job, &ConversionJob::pagesCounted, &loop,
        [&] {
            if (job.pageCount() >= kProgressDialogMinimumPages) {
                dialog = makeProgressDialog(job);
            }
        },
        Qt::QueuedConnection);
    job.start();
    for (;;) {
        const bool dialogUp = dialog && !job.cancelRequested();
        if (dialogUp) {
            // A modal dialog's setValue turns the event loop itself.
            showProgress(*dialog, job);
        }
        // Checked after anything that may have turned the loop: a "changed"
        // handled there quit no loop, but the state it announced is seen here.
        if (job.finished()) {
            break;
        }
        loop.exec(dialogUp ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    return job.succeeded();
}

} // namespace orvo::app
