// A sheet of 100 labels: laid out on the measuring canvas (the layout
// alone, what the preview and the sheet state cost), and written as a PDF
// through cairo (what kalvor-cli etiketten does). Goals: layout under
// 10 ms, PDF under 1 s.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "labels/label_sheet.h"
#include "labels/qr_code.h"
#include "render/measuring_canvas.h"
#if KALVOR_HAVE_CAIRO
#include "render/pdf_canvas.h"
#endif

namespace {

using namespace kalvor;

LabelContent sample(int i) {
  LabelContent c;
  c.mineral = "Cornwallit, Malachit, Agardit-(Ce)";
  c.accompanying = "Baryt, Fluorit, Quarz";
  c.locality = "Grube Clara, Oberwolfach, Schwarzwald, Deutschland";
  c.formula = "Cu_5(AsO_4)_2(OH)_4";
  c.freeLine = "A" + std::to_string(i);
  c.qrText = c.freeLine + ": " + c.mineral + ", " + c.accompanying;
  return c;
}

LabelFormat format(bool qr = true) {
  LabelFormat f = builtInLabelFormats()[3];
  if (qr) f.flags |= kLabelQrCode;
  return f;
}

// With a QR code on every label (state.range(0) = 1) or without.
void BM_SheetOf100LabelsOnTheMeasuringCanvas(benchmark::State& state) {
  const LabelFormat f = format(state.range(0) != 0);
  for (auto _ : state) {
    MeasuringCanvas canvas;
    canvas.setGeometry(PageGeometry{4800, 6600, 600, 600, 0, 0});
    LabelSheet sheet(canvas);
    sheet.selectFormat(f);
    for (int i = 0; i < 100; ++i) sheet.printLabels(sample(i), 1);
    sheet.finish();
    benchmark::DoNotOptimize(canvas.texts().size());
  }
}
BENCHMARK(BM_SheetOf100LabelsOnTheMeasuringCanvas)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

#if KALVOR_HAVE_CAIRO
void BM_PdfOf100Labels(benchmark::State& state) {
  const LabelFormat f = format();
  const std::string path = "kalvor_bench_labels.pdf";
  for (auto _ : state) {
    std::unique_ptr<PdfCanvas> pdf = PdfCanvas::create(path, 300);
    LabelSheet sheet(*pdf);
    sheet.selectFormat(f);
    for (int i = 0; i < 100; ++i) sheet.printLabels(sample(i), 1);
    sheet.finish();
    benchmark::DoNotOptimize(pdf->finish());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_PdfOf100Labels)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

namespace {

void BM_QrCodeOfALabel(benchmark::State& state) {
  const std::string text = "A12: Cornwallit, Malachit, Agardit-(Ce), Baryt, Fluorit, Quarz";
  for (auto _ : state) benchmark::DoNotOptimize(kalvor::encodeQrCode(text));
}
BENCHMARK(BM_QrCodeOfALabel)->Unit(benchmark::kMicrosecond);

}  // namespace
