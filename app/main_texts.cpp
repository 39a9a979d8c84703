#include "app/main_texts.h"

#include "app/about_dialog.h"
#include "widgets/app_message_box.h"

#include <string>

namespace main_texts {

// English keeps the labels the buttons are made with.
const std::array<BottomButtonInfo, kBottomButtonCount> kBottomButtons = {{
    {BottomButton::Transmit, 1022, {"Transmit", "Enviar", "Enviar"}, "Ctrl+T"},
    {BottomButton::Receive, 1023, {"Receive", "Receber", "Recibir"}, "F5"},
    {BottomButton::Open, 1024, {"Open", "Abrir", "Abrir"}, "Ctrl+O"},
    {BottomButton::Save, 1020, {"Save", "Salvar", "Guardar"}, "Ctrl+S"},
    {BottomButton::Exit, 1021, {"Exit", "Sair", "Salir"}, ""},
}};

const lang::Tr3 kOpenTitle = {
    "Open config file:", "Abrir arquivo de configurações:", "Abrir la configuración del archivo:"};
const lang::Tr3 kSaveTitle = {"Save config file:", "Salvar arquivo de configurações:",
                              "Guardar la configuración del archivo:"};

const lang::Tr3 kStatusLineName = {"Status", "Situação", "Estado"};

const char *Caption()
{
    static const std::string caption = lang::Fill(kCaptionFormat, {kAppCaption, kVersionText});
    return caption.c_str();
}

} // namespace main_texts
