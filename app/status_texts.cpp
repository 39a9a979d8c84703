#include "app/status_texts.h"

namespace status_texts {

const OperationTexts kOperations[4] = {
    {Operation::Receive,
     {"Receive done: every setting was read from the terminal.",
      "Recebido: todas as configurações foram lidas do terminal.",
      "Recibido: todos los parámetros fueron leídos del terminal."},
     {"Receive failed: %1", "Falha ao receber: %1", "Error al recibir: %1"}},
    {Operation::Transmit,
     {"Transmit done: every setting was written to the terminal.",
      "Enviado: todas as configurações foram escritas no terminal.",
      "Enviado: todos los parámetros fueron escritos en el terminal."},
     {"Transmit failed: %1", "Falha ao enviar: %1", "Error al enviar: %1"}},
    {Operation::Open,
     {"File opened: %1", "Arquivo aberto: %1", "Archivo abierto: %1"},
     {"Open failed: %1", "Falha ao abrir: %1", "Error al abrir: %1"}},
    {Operation::Save,
     {"File saved: %1", "Arquivo salvo: %1", "Archivo guardado: %1"},
     {"Save failed: %1", "Falha ao salvar: %1", "Error al guardar: %1"}},
};

const lang::Tr3 kTransmitCancelled = {"Transmit cancelled: nothing was written.",
                                      "Envio cancelado: nada foi escrito.",
                                      "Envío cancelado: no se escribió nada."};

const lang::Tr3 kPageRefused = {"a value on the page \"%1\" is not allowed.",
                                "um valor da página \"%1\" não é permitido.",
                                "un valor de la página \"%1\" no está permitido."};

const lang::Tr3 kTransmitQuestion = {
    "No Receive or Open has filled the pages yet. Transmit writes every setting of the "
    "terminal from the pages as they stand now.\n\nTransmit anyway?",
    "Nenhum Receber ou Abrir preencheu as páginas ainda. Enviar escreve todas as configurações "
    "do terminal a partir das páginas como estão agora.\n\nEnviar mesmo assim?",
    "Ningún Recibir o Abrir ha llenado las páginas todavía. Enviar escribe todos los parámetros "
    "del terminal desde las páginas tal como están ahora.\n\n¿Enviar de todos modos?"};

const lang::Tr3 kUnreadPages = {"Pages holding values not read from the terminal: %1.",
                                "Páginas com valores não lidos do terminal: %1.",
                                "Páginas con valores no leídos del terminal: %1."};

const lang::Tr3 kAllPages = {"all", "todas", "todas"};

const lang::Tr3 kTransmitAfterFailedReceive = {
    "The last Receive failed. %1 Transmit writes every setting of the terminal from the pages "
    "as they stand now.\n\nTransmit anyway?",
    "O último Receber falhou. %1 Enviar escreve todas as configurações do terminal a partir das "
    "páginas como estão agora.\n\nEnviar mesmo assim?",
    "El último Recibir falló. %1 Enviar escribe todos los parámetros del terminal desde las "
    "páginas tal como están ahora.\n\n¿Enviar de todos modos?"};

QString Text(const lang::Tr3 &text, const QString &detail)
{
    const char *chosen = text.Current();
    const QString shown = QString::fromUtf8(chosen ? chosen : text.en);
    return shown.contains(QLatin1String("%1")) ? shown.arg(detail) : shown;
}

QString Outcome(Operation operation, const QString &failure, const QString &detail)
{
    const OperationTexts &texts = kOperations[static_cast<int>(operation)];
    return failure.isEmpty() ? Text(texts.succeeded, detail) : Text(texts.failed, failure);
}

} // namespace status_texts
