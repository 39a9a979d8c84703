#include "engine/job_reports.h"

#include "engine/job_failure.h"
#include "engine/job_request.h"
#include "engine/job_steps.h"
#include "engine/parameter_names.h"
#include "link/shared_settings.h"
#include "params/catalogue.h"
#include "params/language.h"
#include "platform/messages.h"
#include "platform/text_util.h"

#include <optional>
#include <string_view>

using namespace platform;
using lang::Tr3;
using Display = JobReport::Display;
using After = JobReport::After;

namespace {

JobReport Status(std::string text, bool ok)
{
    JobReport report;
    if (!text.empty())
        report.display = Display::Status;
    report.text = std::move(text);
    report.ok = ok;
    report.failure = !ok;
    return report;
}

JobReport Progress(std::string text, JobReport::Progress progress, int count)
{
    JobReport report = Status(std::move(text), true);
    report.progress = progress;
    report.progressCount = count;
    return report;
}

} // namespace

int ProgressDone(const JobReport &report, int parameters)
{
    switch (report.progress) {
    case JobReport::Progress::Parameters:
        return report.progressCount;
    case JobReport::Progress::AtCommands:
        return parameters + report.progressCount;
    case JobReport::Progress::Saving:
    case JobReport::Progress::None:
        break;
    }
    return 0;
}

namespace {

JobReport Box(std::string text, int style)
{
    JobReport report;
    if (!text.empty())
        report.display = Display::Box;
    report.text = std::move(text);
    report.boxStyle = style;
    report.failure = style == kStyleError || style == kStyleWarning;
    return report;
}

// ---- read ------------------------------------------------------------------

constexpr Tr3 kReadFailed = {"Error:Fail to read %s!", "Erro:Falha ao lido %s!",
                             "Error:Error al leer %s!"};
// A reply line too long for the line buffer was dropped while %s was read.
constexpr Tr3 kReadLineLost = {
    "Error: The answer for %s had a line longer than 1024 characters, which was lost!",
    "Erro: A resposta para %s tinha uma linha com mais de 1024 caracteres, que foi perdida!",
    "Error: ¡La respuesta para %s tenía una línea de más de 1024 caracteres, que se perdió!"};

JobReport ReadProgress(uintptr_t step, intptr_t number)
{
    static constexpr Tr3 kParameter = {"Reading parameter %d ...", "Lendo parâmetro %d ...",
                                       "Lectura de los parámetros %d ..."};
    static constexpr Tr3 kAtCommand = {"Reading AT command %d ...", "Lendo comando AT %d ...",
                                       "Lectura de comandos AT %d ..."};
    const int value = static_cast<int>(number);
    if (step == kStepParameters)
        return Progress(kParameter.Text({value}), JobReport::Progress::Parameters, value);
    if (step == kStepAtCommands)
        return Progress(kAtCommand.Text({value}), JobReport::Progress::AtCommands, value);
    return Box(lang::Fill("wParam = %d, lParam = %d", {static_cast<int>(step), value}),
               kStyleError);
}

// `text` names the parameter or the AT query with its %s.
JobReport ReadError(const Tr3 &text, uintptr_t step, intptr_t item,
                    const std::vector<std::string> &atNames)
{
    JobReport report;
    if (step == kStepParameters) {
        const ParameterName name = NameParameter(item);
        report = Status(text.Text({name.text}), false);
        report.showPage = name.pageTemplate;
    } else if (step == kStepAtCommands) {
        const std::string name = NameReadAtCommand(static_cast<uint32_t>(item), atNames);
        report = Status(text.Text({name}), false);
    } else {
        report = Status(lang::Fill("unknown ErrNotify WM_READ_PARA_ERR_NOTIFY [%u, %lu]",
                                   {static_cast<unsigned>(step), static_cast<unsigned long>(item)}),
                        false);
    }
    report.after = After::EndOfRead;
    report.jobEnded = true;
    return report;
}

// The read could not store its values: the pages would keep stale values
// under a success message. The reason names the file.
JobReport ReadStoreError(const JobFailure &failure)
{
    static constexpr Tr3 kNotStored = {"Error: Could not save the values read! %s",
                                       "Erro: Não foi possível salvar os valores lidos! %s",
                                       "Error: ¡No se pudieron guardar los valores leídos! %s"};
    JobReport report = Status(kNotStored.Text({failure.text}), false);
    report.after = After::EndOfRead;
    report.jobEnded = true;
    return report;
}

JobReport ReadSuccess()
{
    static constexpr Tr3 kSuccess = {"Read parameter success!", "Lido com sucesso!",
                                     "Leer con éxito!"};
    JobReport report = Status(kSuccess.Text(), true);
    report.after = After::EndOfRead;
    report.jobEnded = true;
    return report;
}

// ---- write -----------------------------------------------------------------

JobReport WriteProgress(uintptr_t step, intptr_t number)
{
    static constexpr Tr3 kParameter = {"Sending parameter %d ...", "Enviando parâmetro %d ...",
                                       "El envío de los parámetros %d ..."};
    static constexpr Tr3 kAtCommand = {"Sending AT command %d ...", "Enviando comando AT %d ...",
                                       "El envío de comandos AT %d ..."};
    static constexpr Tr3 kSaving = {"Saving parameter setting ...", "Gravando configurações ...",
                                    "Guardando de los parámetros ..."};
    const int value = static_cast<int>(number);
    switch (step) {
    case kStepParameters:
        return Progress(kParameter.Text({value}), JobReport::Progress::Parameters, value);
    case kStepAtCommands:
        return Progress(kAtCommand.Text({value}), JobReport::Progress::AtCommands, value);
    case kStepSave:
        return Progress(kSaving.Text(), JobReport::Progress::Saving, 0);
    default:
        return {};
    }
}

JobReport WriteSuccess(uintptr_t step)
{
    static constexpr Tr3 kSaved = {"Save parameter success!", "Gravado com sucesso!",
                                   "Guardado con éxito!"};
    static constexpr Tr3 kWritten = {"Write parameter success!", "Escrito com sucesso! ",
                                     "Escrito con éxito!"};
    static constexpr Tr3 kStored = {"Save AT command success!", "Gravado comando AT sucesso!",
                                    "Guardado comando AT éxito!"};
    switch (step) {
    case kStepSave:
        return Status(kSaved.Text(), true);
    case kStepTransactionEnd:
        return Status(kWritten.Text(), true);
    case kStepStore: {
        JobReport report = Status(kStored.Text(), true);
        report.after = After::EndOfWrite;
        report.jobEnded = true;
        return report;
    }
    default:
        return {};
    }
}

// Refusals told in a box of their own, with the page to show (1504, the TX
// level, is a number that no slot of the catalogue carries).
struct SpecialParameterFailure
{
    uint16_t number;
    std::optional<params::Page> page; // none: the page of the name look-up
    Tr3 text;
};

const SpecialParameterFailure kSpecialFailures[] = {
    {params::InfoOf(params::Slot::GeneralPassword).number,
     params::Page::Passwords,
     {"Error: General Password invalid!", "Erro: Senha geral inválida!",
      "Error: La general contraseña no es válido!"}},
    {1504,
     std::nullopt,
     {"Error: The TX level must be between 00 and 15!",
      "Erro: O nível de volume de transmissão deve ser entre 00 e 15!",
      "Error: El volumen de transmisión debe ser entre 00 y 15!"}},
    {params::kPinChangeNumber,
     params::Page::SecurityCode,
     {"Error: Fail to change PIN Code, check if Old PIN Code is correct!",
      "Erro: Falha na alteração do código PIN, verifique se o PIN atual está correto!",
      "Error: No se pudo cambiar el PIN, comprobar si el código PIN actual es correcto!"}},
    {params::kPinCheckOnNumber,
     params::Page::SecurityCode,
     {"Error: Fail to Auto-lock PIN Code, check if PIN Code is correct!",
      "Erro: Falha ao ativar a solicitação do código PIN na iniciação, verifique se o código PIN "
      "está correto!",
      "Error: Error al habilitar la petición del código PIN en la iniciación, comprobar si el "
      "código PIN es correcto!"}},
    {params::kPinFollowUpCheckNumber,
     params::Page::SecurityCode,
     {"Error: PIN Code invalid!", "Erro:Código PIN inválido!",
      "Error:El código PIN no es válido!"}},
};

// The number text of the failed line AT+WPAR=number,value.
std::string FailedParameterNumber(std::string line)
{
    const size_t equals = line.find('=');
    if (equals != std::string::npos)
        line.erase(0, equals + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.substr(0, line.find(','));
}

JobReport ParameterWriteFailure(intptr_t position, const std::string &refusedLine)
{
    static constexpr Tr3 kFailed = {"Error: Fail to write parameter [%d].Error %s!",
                                    "Erro: Falha ao escrever parâmetro [%d].Erro %s!",
                                    "Error: Error al escribir el parámetro [%d].Error %s!"};
    const std::string numberText = FailedParameterNumber(refusedLine);
    const ParameterName name = NameParameter(text::LeadingNumber(numberText));
    for (const SpecialParameterFailure &special : kSpecialFailures) {
        // The number as the terminal was sent it: "032" is no general password.
        if (numberText == std::to_string(special.number)) {
            JobReport report = Box(special.text.Text(), kStyleError);
            report.showPage =
                special.page ? uint32_t(params::PageTemplate(*special.page)) : name.pageTemplate;
            return report;
        }
    }
    JobReport report = Status(kFailed.Text({static_cast<int>(position), name.text}), false);
    report.showPage = name.pageTemplate;
    return report;
}

// `refusedLine` is the line the terminal refused, for the parameter and the
// AT-command steps.
JobReport WriteError(uintptr_t step, intptr_t item, const std::string &refusedLine)
{
    static constexpr Tr3 kPassword = {"Error: Password invalid!", "Erro: Senha inválida!",
                                      "Error: La contraseña no es válido!"};
    static constexpr Tr3 kAtCommand = {"Error: Fail to write AT command [%d].Error %s!",
                                       "Erro: Falha ao escrever comando AT [%d].Erro %s!",
                                       "Error: Error al escribir el comando AT [%d].Error %s!"};
    static constexpr Tr3 kSave = {"Fail to save parameter!", "Falha ao salvar configurações!",
                                  "Error al guardar los parámetros!"};
    static constexpr Tr3 kEnd = {"Fail to write parameter!", "Falha ao escrever configurações!",
                                 "Error al escribir los parámetros!"};
    static constexpr Tr3 kStore = {"Fail to save AT command!", "Falha ao salvar comando AT!",
                                   "Error al guardar el comando AT!"};
    JobReport report;
    switch (step) {
    case kStepLogin:
        report = Status(kPassword.Text(), false);
        break;
    case kStepParameters:
        report = ParameterWriteFailure(item, refusedLine);
        break;
    case kStepAtCommands:
        report = Status(
            kAtCommand.Text({static_cast<int>(item), NameWrittenAtCommand(refusedLine)}), false);
        break;
    case kStepSave:
        report = Status(kSave.Text(), false);
        break;
    case kStepTransactionEnd:
        report = Status(kEnd.Text(), false);
        break;
    case kStepStore:
        report = Status(kStore.Text(), false);
        break;
    default:
        break;
    }
    report.failure = true;
    // After a refused entry or save the job goes on to end the transaction:
    // the operations stay disabled until it has.
    report.jobEnded = step == kStepLogin || step == kStepTransactionEnd || step == kStepStore;
    report.after = report.jobEnded ? After::EndOfWrite : After::Nothing;
    return report;
}

// The job went on to its end after a failure; the account goes with the
// outcome the failure has already set.
JobReport WriteAccountReport(const JobFailure &failure)
{
    JobReport report;
    if (failure.account)
        report.account = DescribeWriteAccount(*failure.account);
    report.failure = true;
    return report;
}

// ---- any job ---------------------------------------------------------------

// The job ended at once: the terminal went away, or the user stopped it.
JobReport CutOff(const JobFailure &failure, JobCut cut)
{
    static constexpr Tr3 kDisconnected = {"Error: The terminal was disconnected from the port %s!",
                                          "Erro: O terminal foi desconectado da porta %s!",
                                          "Error: ¡El terminal se desconectó del puerto %s!"};
    JobReport report = Status(
        cut == JobCut::Stopped ? kStoppedText.Text() : kDisconnected.Text({g_strPortName}), false);
    if (failure.account)
        report.account = DescribeWriteAccount(*failure.account);
    report.jobEnded = true;
    switch (failure.step) {
    case kJobRead:
        report.after = After::EndOfRead;
        break;
    case kJobWrite:
        report.after = After::EndOfWrite;
        break;
    default:
        report.after = After::ClosePort;
        break;
    }
    return report;
}

// ---- password change (texts in English only) -------------------------------

JobReport PasswordError(uintptr_t step)
{
    JobReport report;
    switch (step) {
    case kStepLogin:
        report = Box("Password invalid!", kStyleWarning);
        break;
    case kStepNewPassword:
        report = Box("Error on modifying user password!", kStyleWarning);
        break;
    case kStepPasswordEnd:
        report = Box("Error on quitting write mode!", kStyleWarning);
        break;
    default:
        report = Status("Error on modifying user password!", true);
        break;
    }
    report.failure = true;
    // A refused change still ends the transaction: the port stays open for
    // that answer and is closed when the job has ended.
    report.jobEnded = step != kStepNewPassword;
    report.after = report.jobEnded ? After::ClosePort : After::Nothing;
    return report;
}

JobReport PasswordSuccess(uintptr_t step)
{
    JobReport report;
    if (step == kStepNewPassword) {
        report = Box("Successfully changed password!", kStyleInformation);
        report.after = After::PasswordChanged;
        return report;
    }
    report.after = After::ClosePort;
    report.jobEnded = true;
    return report;
}

} // namespace

JobReport DescribeJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                             const std::vector<std::string> &atNames)
{
    switch (message) {
    case WM_READ_PARA_PROGRESS_NOTIFY:
        return ReadProgress(wParam, lParam);
    case WM_READ_PARA_ERR_NOTIFY:
        return ReadError(kReadFailed, wParam, lParam, atNames);
    case WM_READ_PARA_LINE_LOST_NOTIFY:
        return ReadError(kReadLineLost, wParam, lParam, atNames);
    case WM_READ_PARA_OK_NOTIFY:
        return ReadSuccess();
    case WM_WRITE_PARA_PROGRESS_NOTIFY:
        return WriteProgress(wParam, lParam);
    case WM_WRITE_PARA_OK_NOTIFY:
        return WriteSuccess(wParam);
    case WM_WRITE_PARA_ERR_NOTIFY:
        return WriteError(wParam, lParam, {});
    case WM_READ_PARA_STORE_ERR_NOTIFY:
    case WM_WRITE_PARA_LINE_ERR_NOTIFY:
    case WM_WRITE_PARA_ACCOUNT_NOTIFY:
    case WM_JOB_PORT_LOST_NOTIFY:
    case WM_JOB_STOPPED_NOTIFY: {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the word is the failure the job posted
        const auto *failure = reinterpret_cast<const JobFailure *>(wParam);
        if (!failure)
            return {};
        switch (message) {
        case WM_READ_PARA_STORE_ERR_NOTIFY:
            return ReadStoreError(*failure);
        case WM_WRITE_PARA_LINE_ERR_NOTIFY:
            return WriteError(failure->step, failure->item, failure->text);
        case WM_WRITE_PARA_ACCOUNT_NOTIFY:
            return WriteAccountReport(*failure);
        case WM_JOB_STOPPED_NOTIFY:
            return CutOff(*failure, JobCut::Stopped);
        default:
            return CutOff(*failure, JobCut::PortLost);
        }
    }
    case WM_MODIFY_PWD_ERR_NOTIFY:
        return PasswordError(wParam);
    case WM_MODIFY_PWD_OK_NOTIFY:
        return PasswordSuccess(wParam);
    default:
        return {};
    }
}
