#include "app/program.h"

#include <QCoreApplication>

namespace quendra {

Program::Program(QStringList arguments)
    : form1_(std::make_unique<TForm1>(std::move(arguments))), form2_(std::make_unique<TForm2>()),
      form3_(std::make_unique<TForm3>()), okBottomDlg_(std::make_unique<TOKBottomDlg>()),
      saving_(std::make_unique<TSaving>()) {
    form1_->setSecondaryWindows(form2_.get(), form3_.get(), okBottomDlg_.get(), saving_.get());
}

void Program::endEventLoopOnRequest() {
    // Not quit(): it closes every window first, and the main window's close writes the
    // settings.
    QObject::connect(form1_.get(), &TForm1::programEnds, form1_.get(),
                     [] { QCoreApplication::exit(0); });
}

Program::~Program() {
    // The main window first, so that nothing it does on the way out reaches a window
    // that is gone.
    form1_.reset();
}

} // namespace quendra
