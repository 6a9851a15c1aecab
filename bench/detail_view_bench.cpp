// Opening the detailed description of a finding in a 20 MB page: the page
// read, coloured, shown in the code view and the problem area selected, as
// the window does it once its delay has passed. Runs offscreen.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/code_view.h"
#include "app/detail_dialog.h"
#include "settings/user_settings.h"

namespace {

// Ordinary markup in CR LF lines, repeated to about `bytes` bytes.
QByteArray typicalPage(qsizetype bytes) {
    const QByteArray block =
        "<!-- navigation -->\r\n<table width=\"100%\" border=\"0\"><tr><td class='nav'>"
        "<a href=\"index.html\" title=\"Home\">Home</a> | <a href=\"shoes.html\">Red shoes</a>"
        "</td></tr></table>\r\n<p>Our shop sells a range of shoes, boots and sandals for "
        "every season. See the table below or <b>call us</b> today.</p>\r\n"
        "<img src=\"logo.gif\" alt=\"Logo\" width=\"120\" height=\"60\">\r\n";
    QByteArray page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html><body>\r\n";
    page.reserve(bytes + block.size());
    while (page.size() < bytes)
        page += block;
    return page;
}

// The same markup with no line breaks at all, as minified pages come.
QByteArray oneLinePage(qsizetype bytes) {
    QByteArray page = typicalPage(bytes);
    page.replace("\r\n", " ");
    return page;
}

// Until the page can be read and the problem area is selected, or until
// its colours are shown too.
void openDetailView(benchmark::State& state, const QByteArray& page, bool untilColoured) {
    QTemporaryDir folder;
    const QString path = folder.filePath("big.htm");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size()) {
        state.SkipWithError("cannot write the page");
        return;
    }
    file.close();
    quorvel::UserSettings settings;
    settings.open(folder.filePath("Quorvel.hc").toStdString());
    const int position = static_cast<int>(page.size() * 3 / 4);
    for (auto _ : state) {
        quorvel::app::DetailDialog dialog(
            settings, quorvel::EntryDetails{"Error : x", quorvel::ImportanceClass::Error,
                                            path.toStdString(), position});
        dialog.show();
        dialog.loadPage();
        while (untilColoured && !dialog.codeView()->coloured())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The first paint of the code view.
        dialog.codeView()->viewport()->repaint();
        benchmark::DoNotOptimize(dialog.codeView()->colouredLineCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_OpenDetailView20MB(benchmark::State& state) {
    static const QByteArray page = typicalPage(20 << 20);
    openDetailView(state, page, false);
}
BENCHMARK(BM_OpenDetailView20MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenDetailView20MBColoured(benchmark::State& state) {
    static const QByteArray page = typicalPage(20 << 20);
    openDetailView(state, page, true);
}
BENCHMARK(BM_OpenDetailView20MBColoured)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenDetailView20MBOneLine(benchmark::State& state) {
    static const QByteArray page = oneLinePage(20 << 20);
    openDetailView(state, page, false);
}
BENCHMARK(BM_OpenDetailView20MBOneLine)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
