#include "app/provision_texts.h"

#include "widgets/qt_text.h"

#include <array>

namespace {

constexpr std::array<lang::Tr3, 40> kProvisionTexts = {{
    {"Provision several terminals...", "Provisionar vários terminais...",
     "Aprovisionar varios terminales..."},
    {"Provision several terminals", "Provisionar vários terminais",
     "Aprovisionar varios terminales"},
    {"File to write:", "Arquivo a escrever:", "Archivo a escribir:"},
    {"Browse...", "Procurar...", "Examinar..."},
    {"Ports:", "Portas:", "Puertos:"},
    {"&Find", "&Localizar", "&Buscar"},
    {"Cancel search", "Cancelar busca", "Cancelar búsqueda"},
    {"Verify after writing", "Verificar após escrever", "Verificar después de escribir"},
    {"Start", "Iniciar", "Iniciar"},
    {"Stop", "Parar", "Detener"},
    {"Save report...", "Salvar relatório...", "Guardar informe..."},
    {"Close", "Fechar", "Cerrar"},
    {"Port", "Porta", "Puerto"},
    {"State", "Estado", "Estado"},
    {"Time", "Tempo", "Tiempo"},
    {"Reason", "Motivo", "Motivo"},
    {"waiting", "aguardando", "en espera"},
    {"logging in", "entrando", "iniciando sesión"},
    {"reading", "lendo", "leyendo"},
    {"writing", "escrevendo", "escribiendo"},
    {"saving", "salvando", "guardando"},
    {"verifying", "verificando", "verificando"},
    {"changing the password", "trocando a senha", "cambiando la contraseña"},
    {"probing", "sondando", "sondeando"},
    {"done", "concluído", "terminado"},
    {"failed", "falhou", "falló"},
    {"skipped", "não iniciada", "no iniciado"},
    {"%s %d of %d", "%s %d de %d", "%s %d de %d"},
    {"%s s", "%s s", "%s s"},
    {"Elapsed: %s s", "Tempo decorrido: %s s", "Tiempo transcurrido: %s s"},
    {"Answered \"OK\": %s.", "Responderam \"OK\": %s.", "Respondieron \"OK\": %s."},
    {"No port answered \"OK\".", "Nenhuma porta respondeu \"OK\".",
     "Ningún puerto respondió \"OK\"."},
    {"%s at %s bps", "%s a %s bps", "%s a %s bps"},
    {"Sending \"AT\" to the ports...", "Enviando \"AT\" às portas...",
     "Enviando \"AT\" a los puertos..."},
    {"Choose the file to write.", "Escolha o arquivo a escrever.", "Elija el archivo a escribir."},
    {"Check at least one port.", "Marque pelo menos uma porta.", "Marque al menos un puerto."},
    {"Cannot start kestrel-cli: %s", "Não foi possível iniciar o kestrel-cli: %s",
     "No se pudo iniciar kestrel-cli: %s"},
    {"kestrel-cli ended without a result (exit status %s).",
     "O kestrel-cli terminou sem resultado (código de saída %s).",
     "kestrel-cli terminó sin resultado (código de salida %s)."},
    {"Save the report:", "Salvar o relatório:", "Guardar el informe:"},
    {"report (*.csv)", "relatório (*.csv)", "informe (*.csv)"},
}};

} // namespace

const lang::Tr3 &ProvisionTextTr3(ProvisionText text)
{
    return kProvisionTexts.at(static_cast<size_t>(text));
}

QString ProvisionLabel(ProvisionText text, std::initializer_list<lang::Arg> args)
{
    return lang::QtText(ProvisionTextTr3(text), args);
}
