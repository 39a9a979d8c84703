#include "app/status_texts.h"

#include "widgets/qt_text.h"

namespace status_texts {

const OperationTexts kOperations[6] = {
    {Operation::Receive,
     {"Receive done: every setting was read from the terminal.",
      "Recebido: todas as configurações foram lidas do terminal.",
      "Recibido: todos los parámetros fueron leídos del terminal."},
     {"Receive failed: %s", "Falha ao receber: %s", "Error al recibir: %s"}},
    {Operation::Transmit,
     {"Transmit done: every setting was written to the terminal.",
      "Enviado: todas as configurações foram escritas no terminal.",
      "Enviado: todos los parámetros fueron escritos en el terminal."},
     {"Transmit failed: %s", "Falha ao enviar: %s", "Error al enviar: %s"}},
    {Operation::Open,
     {"File opened: %s", "Arquivo aberto: %s", "Archivo abierto: %s"},
     {"Open failed: %s", "Falha ao abrir: %s", "Error al abrir: %s"}},
    {Operation::Save,
     {"File saved: %s", "Arquivo salvo: %s", "Archivo guardado: %s"},
     {"Save failed: %s", "Falha ao salvar: %s", "Error al guardar: %s"}},
    {Operation::PasswordChange,
     {"Software password changed.", "Senha do software alterada.",
      "Contraseña del software cambiada."},
     {"Software password change failed: %s", "Falha ao alterar a senha do software: %s",
      "Error al cambiar la contraseña del software: %s"}},
    {Operation::PinChange,
     {"PIN changed.", "PIN alterado.", "PIN cambiado."},
     {"PIN change failed: %s", "Falha ao alterar o PIN: %s", "Error al cambiar el PIN: %s"}},
};

const lang::Tr3 kTransmitCancelled = {"Transmit cancelled: nothing was written.",
                                      "Envio cancelado: nada foi escrito.",
                                      "Envío cancelado: no se escribió nada."};

const lang::Tr3 kPageRefused = {"a value on the page \"%s\" is not allowed.",
                                "um valor da página \"%s\" não é permitido.",
                                "un valor de la página \"%s\" no está permitido."};

const lang::Tr3 kTransmitQuestion = {
    "No Receive or Open has filled the pages yet. Transmit writes every setting of the "
    "terminal from the pages as they stand now.\n\nTransmit anyway?",
    "Nenhum Receber ou Abrir preencheu as páginas ainda. Enviar escreve todas as configurações "
    "do terminal a partir das páginas como estão agora.\n\nEnviar mesmo assim?",
    "Ningún Recibir o Abrir ha llenado las páginas todavía. Enviar escribe todos los parámetros "
    "del terminal desde las páginas tal como están ahora.\n\n¿Enviar de todos modos?"};

const lang::Tr3 kUnreadPages = {"Pages holding values not read from the terminal: %s.",
                                "Páginas com valores não lidos do terminal: %s.",
                                "Páginas con valores no leídos del terminal: %s."};

const lang::Tr3 kAllPages = {"all", "todas", "todas"};

const lang::Tr3 kTransmitAfterFailedReceive = {
    "The last Receive failed. %s Transmit writes every setting of the terminal from the pages "
    "as they stand now.\n\nTransmit anyway?",
    "O último Receber falhou. %s Enviar escreve todas as configurações do terminal a partir das "
    "páginas como estão agora.\n\nEnviar mesmo assim?",
    "El último Recibir falló. %s Enviar escribe todos los parámetros del terminal desde las "
    "páginas tal como están ahora.\n\n¿Enviar de todos modos?"};

const lang::Tr3 kReceiveCancelled = {
    "Receive cancelled: the pages keep what they held before.",
    "Recebimento cancelado: as páginas mantêm o que tinham antes.",
    "Recepción cancelada: las páginas conservan lo que tenían antes."};

const lang::Tr3 kCloseDuringWrite = {
    "The terminal is being written now. Closing stops the writing and leaves the terminal "
    "half-written: some settings new, the others as they were.\n\nClose anyway?",
    "O terminal está sendo escrito agora. Fechar interrompe a escrita e deixa o terminal escrito "
    "pela metade: algumas configurações novas, as outras como estavam.\n\nFechar mesmo assim?",
    "El terminal se está escribiendo ahora. Cerrar detiene la escritura y deja el terminal "
    "escrito a medias: algunos parámetros nuevos, los demás como estaban.\n\n¿Cerrar de todos "
    "modos?"};

const lang::Tr3 kUnsavedEdits = {
    "The pages were edited since they were last received, opened, saved or transmitted.\n\n"
    "Save the changes to a file before closing?",
    "As páginas foram editadas desde que foram recebidas, abertas, salvas ou enviadas pela última "
    "vez.\n\nSalvar as alterações em um arquivo antes de fechar?",
    "Las páginas se editaron desde la última vez que se recibieron, abrieron, guardaron o "
    "enviaron.\n\n¿Guardar los cambios en un archivo antes de cerrar?"};

QString Outcome(Operation operation, const QString &failure, const QString &detail)
{
    const OperationTexts &texts = kOperations[static_cast<int>(operation)];
    return failure.isEmpty() ? lang::QtText(texts.succeeded, detail)
                             : lang::QtText(texts.failed, failure);
}

} // namespace status_texts
