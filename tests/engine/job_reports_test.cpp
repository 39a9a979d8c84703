#include "engine/job_failure.h"
#include "engine/job_reports.h"
#include "params/language.h"
#include "platform/messages.h"
#include "tests/common/case_name.h"

#include <gtest/gtest.h>

using namespace platform;
using Display = JobReport::Display;
using After = JobReport::After;

namespace {

struct ReportCase
{
    const char *name;
    int language;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    const char *carried; // the text of a message that carries a failure
    Display display;
    const char *text;
    bool ok;
    uint32_t page;
    After after;
    bool ended;
};

class JobReports : public ::testing::TestWithParam<ReportCase>
{
protected:
    void TearDown() override { lang::SetCode(lang::kEnglish); }
};

TEST_P(JobReports, ShowsTheTextAndDoesWhatFollows)
{
    const ReportCase &c = GetParam();
    lang::SetCode(c.language);
    const std::vector<std::string> atNames = {"Call Waiting 0495", "Alterar data e hora 0801&0802"};
    JobFailure failure{c.wParam, c.lParam, c.carried};
    const JobReport report =
        CarriesJobFailure(c.message)
            ? DescribeJobMessage(c.message, reinterpret_cast<uintptr_t>(&failure), 0, atNames)
            : DescribeJobMessage(c.message, c.wParam, c.lParam, atNames);
    EXPECT_EQ(report.display, c.display);
    EXPECT_EQ(report.text, c.text);
    if (c.display == Display::Status) {
        EXPECT_EQ(report.ok, c.ok);
    }
    EXPECT_EQ(report.showPage, c.page);
    EXPECT_EQ(report.after, c.after);
    EXPECT_EQ(report.jobEnded, c.ended);
}

constexpr int en = lang::kEnglish, pt = lang::kPortuguese, es = lang::kSpanish;

// clang-format off
const ReportCase kReportCases[] = {
    {"ReadProgress", en, WM_READ_PARA_PROGRESS_NOTIFY, 3, 17, "", Display::Status,
     "Reading parameter 17 ...", true, 0, After::Nothing, false},
    {"ReadProgressOddStep", en, WM_READ_PARA_PROGRESS_NOTIFY, 9, 2, "", Display::Box,
     "wParam = 9, lParam = 2", true, 0, After::Nothing, false},
    {"ReadFailsOnVolumeInSpanish", es, WM_READ_PARA_ERR_NOTIFY, 3, 16543, "", Display::Status,
     "Error:Error al leer Recepción!", false, 184, After::EndOfRead, true},
    {"ReadFailsOnForbiddenEntry", en, WM_READ_PARA_ERR_NOTIFY, 3, 3005, "", Display::Status,
     "Error:Fail to read Please input a number in the position 0815!", false, 133, After::EndOfRead,
     true},
    {"ReadFailsOnCallBackEntry", en, WM_READ_PARA_ERR_NOTIFY, 3, 16212, "", Display::Status,
     "Error:Fail to read Please input a number in the position:1507!", false, 185, After::EndOfRead,
     true},
    {"ReadFailsOnUnknownNumber", en, WM_READ_PARA_ERR_NOTIFY, 3, 2500, "", Display::Status,
     "Error:Fail to read Parameter = 2500!", false, 0, After::EndOfRead, true},
    {"ReadFailsOnAtQuery", pt, WM_READ_PARA_ERR_NOTIFY, 4, 1, "", Display::Status,
     "Erro:Falha ao lido Alterar data e hora 0801&0802!", false, 0, After::EndOfRead, true},
    {"ReadFailsOnAtQueryOutsideTheList", en, WM_READ_PARA_ERR_NOTIFY, 4, 7, "", Display::Status,
     "Error:Fail to read AtcmdId = 7!", false, 0, After::EndOfRead, true},
    {"ReadSucceeds", en, WM_READ_PARA_OK_NOTIFY, 4, 0, "", Display::Status,
     "Read parameter success!", true, 0, After::EndOfRead, true},
    {"ReadSucceedsInPortuguese", pt, WM_READ_PARA_OK_NOTIFY, 4, 0, "", Display::Status,
     "Lido com sucesso!", true, 0, After::EndOfRead, true},
    {"ReadSucceedsInSpanish", es, WM_READ_PARA_OK_NOTIFY, 4, 0, "", Display::Status,
     "Leer con éxito!", true, 0, After::EndOfRead, true},
    {"ReadAtCommandProgress", pt, WM_READ_PARA_PROGRESS_NOTIFY, 4, 2, "", Display::Status,
     "Lendo comando AT 2 ...", true, 0, After::Nothing, false},
    {"ReadFailsAtAnUnknownStep", en, WM_READ_PARA_ERR_NOTIFY, 9, 5, "", Display::Status,
     "unknown ErrNotify WM_READ_PARA_ERR_NOTIFY [9, 5]", false, 0, After::EndOfRead, true},
    {"ReadLineLost", es, WM_READ_PARA_LINE_LOST_NOTIFY, 3, 16543, "", Display::Status,
     "Error: ¡La respuesta para Recepción tenía una línea de más de 1024 caracteres, que se "
     "perdió!", false, 184, After::EndOfRead, true},
    {"WriteParameterProgress", en, WM_WRITE_PARA_PROGRESS_NOTIFY, 3, 2, "", Display::Status,
     "Sending parameter 2 ...", true, 0, After::Nothing, false},
    {"WriteAtCommandProgress", pt, WM_WRITE_PARA_PROGRESS_NOTIFY, 4, 1, "", Display::Status,
     "Enviando comando AT 1 ...", true, 0, After::Nothing, false},
    {"WriteSaveProgress", es, WM_WRITE_PARA_PROGRESS_NOTIFY, 5, 0, "", Display::Status,
     "Guardando de los parámetros ...", true, 0, After::Nothing, false},
    {"WriteSaved", en, WM_WRITE_PARA_OK_NOTIFY, 5, 0, "", Display::Status,
     "Save parameter success!", true, 0, After::Nothing, false},
    {"WriteStepDone", en, WM_WRITE_PARA_OK_NOTIFY, 6, 0, "", Display::Status,
     "Write parameter success!", true, 0, After::Nothing, false},
    {"WriteStepDoneInSpanish", es, WM_WRITE_PARA_OK_NOTIFY, 6, 0, "", Display::Status,
     "Escrito con éxito!", true, 0, After::Nothing, false},
    {"WriteEndsInSpanish", es, WM_WRITE_PARA_OK_NOTIFY, 7, 0, "", Display::Status,
     "Guardado comando AT éxito!", true, 0, After::EndOfWrite, true},
    {"ReadNotStored", en, WM_READ_PARA_STORE_ERR_NOTIFY, 3, 2,
     "Cannot write \"/x/COM1ParaFile.ini\": No space left on device", Display::Status,
     "Error: Could not save the values read! Cannot write \"/x/COM1ParaFile.ini\": No space left on device",
     false, 0, After::EndOfRead, true},
    {"ReadNotStoredInPortuguese", pt, WM_READ_PARA_STORE_ERR_NOTIFY, 4, 0, "why", Display::Status,
     "Erro: Não foi possível salvar os valores lidos! why", false, 0, After::EndOfRead, true},
    {"ReadNotStoredInSpanish", es, WM_READ_PARA_STORE_ERR_NOTIFY, 3, 5, "why", Display::Status,
     "Error: ¡No se pudieron guardar los valores leídos! why", false, 0, After::EndOfRead, true},
    {"WriteStepDoneKeepsItsBlank", pt, WM_WRITE_PARA_OK_NOTIFY, 6, 0, "", Display::Status,
     "Escrito com sucesso! ", true, 0, After::Nothing, false},
    {"WriteEnds", en, WM_WRITE_PARA_OK_NOTIFY, 7, 0, "", Display::Status,
     "Save AT command success!", true, 0, After::EndOfWrite, true},
    {"WriteProgressOfTheStoreShowsNothing", en, WM_WRITE_PARA_PROGRESS_NOTIFY, 7, 0, "",
     Display::None, "", true, 0, After::Nothing, false},
    // A refused entry or save: the job still ends its transaction, so the
    // operations stay disabled until its last message.
    {"GeneralPasswordRefused", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1, "AT+WPAR=32,\"123456\"",
     Display::Box, "Error: General Password invalid!", true, 193, After::Nothing, false},
    {"GeneralPasswordRefusedInPortuguese", pt, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1,
     "AT+WPAR=32,\"123456\"", Display::Box, "Erro: Senha geral inválida!", true, 193,
     After::Nothing, false},
    {"PinCheckRefused", es, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 4, "AT+WPAR=16553,\"4711\"",
     Display::Box, "Error:El código PIN no es válido!", true, 137, After::Nothing, false},
    {"TxLevelRefused", pt, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1, "AT+WPAR=1504,\"16\"",
     Display::Box, "Erro: O nível de volume de transmissão deve ser entre 00 e 15!", true, 0,
     After::Nothing, false},
    {"PinChangeRefused", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 2, "AT+WPAR=16548,\"1\",\"2\"",
     Display::Box, "Error: Fail to change PIN Code, check if Old PIN Code is correct!", true, 137,
     After::Nothing, false},
    {"PinLockRefused", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 2, "AT+WPAR=16549,\"4711\"",
     Display::Box, "Error: Fail to Auto-lock PIN Code, check if PIN Code is correct!", true, 137,
     After::Nothing, false},
    // Only the number as written names a special refusal.
    {"GeneralPasswordNumberWithALeadingZero", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1,
     "AT+WPAR=032,\"1\"", Display::Status, "Error: Fail to write parameter [1].Error General Password:!",
     false, 193, After::Nothing, false},
    {"OtherParameterRefused", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 2, "AT+WPAR=16544,\"16\"",
     Display::Status, "Error: Fail to write parameter [2].Error Change TX Volume!", false, 184,
     After::Nothing, false},
    {"AtCommandRefused", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 4, 3, "AT+CCFC=2,3,\"555\",129,7,,,20",
     Display::Status, "Error: Fail to write AT command [3].Error Forward When No Answer 0498!",
     false, 0, After::Nothing, false},
    {"UnknownAtCommandRefused", en, WM_WRITE_PARA_LINE_ERR_NOTIFY, 4, 1, "AT+CLIR=1",
     Display::Status, "Error: Fail to write AT command [1].Error AT+CLIR=1!", false, 0,
     After::Nothing, false},
    {"SaveRefused", en, WM_WRITE_PARA_ERR_NOTIFY, 5, 0, "", Display::Status,
     "Fail to save parameter!", false, 0, After::Nothing, false},
    {"TransactionEndRefused", en, WM_WRITE_PARA_ERR_NOTIFY, 6, 0, "", Display::Status,
     "Fail to write parameter!", false, 0, After::EndOfWrite, true},
    {"StoreRefused", en, WM_WRITE_PARA_ERR_NOTIFY, 7, 0, "", Display::Status,
     "Fail to save AT command!", false, 0, After::EndOfWrite, true},
    {"SaveRefusedInSpanish", es, WM_WRITE_PARA_ERR_NOTIFY, 5, 0, "", Display::Status,
     "Error al guardar los parámetros!", false, 0, After::Nothing, false},
    {"StoreRefusedInPortuguese", pt, WM_WRITE_PARA_ERR_NOTIFY, 7, 0, "", Display::Status,
     "Falha ao salvar comando AT!", false, 0, After::EndOfWrite, true},
    {"WritePasswordRefused", en, WM_WRITE_PARA_ERR_NOTIFY, 1, 0, "", Display::Status,
     "Error: Password invalid!", false, 0, After::EndOfWrite, true},
    {"WriteStoppedByTheUser", pt, WM_JOB_STOPPED_NOTIFY, 2, 0, "", Display::Status,
     "Erro: A operação foi interrompida antes do fim!", false, 0, After::EndOfWrite, true},
    {"ReadStoppedByTheUser", es, WM_JOB_STOPPED_NOTIFY, 1, 0, "", Display::Status,
     "Error: ¡La operación se detuvo antes de terminar!", false, 0, After::EndOfRead, true},
    {"PasswordChanged", pt, WM_MODIFY_PWD_OK_NOTIFY, 2, 0, "", Display::Box,
     "Successfully changed password!", true, 0, After::PasswordChanged, false},
    {"PasswordJobEnds", en, WM_MODIFY_PWD_OK_NOTIFY, 3, 0, "", Display::None, "", true, 0,
     After::ClosePort, true},
    // A refused change still ends the transaction: the port stays open for that answer.
    {"PasswordChangeRefused", en, WM_MODIFY_PWD_ERR_NOTIFY, 2, 0, "", Display::Box,
     "Error on modifying user password!", true, 0, After::Nothing, false},
    {"OldPasswordRefused", en, WM_MODIFY_PWD_ERR_NOTIFY, 1, 0, "", Display::Box,
     "Password invalid!", true, 0, After::ClosePort, true},
    {"PasswordEndRefused", en, WM_MODIFY_PWD_ERR_NOTIFY, 3, 0, "", Display::Box,
     "Error on quitting write mode!", true, 0, After::ClosePort, true},
    {"PasswordOddStep", en, WM_MODIFY_PWD_ERR_NOTIFY, 8, 0, "", Display::Status,
     "Error on modifying user password!", true, 0, After::ClosePort, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Reports, JobReports, ::testing::ValuesIn(kReportCases), CaseName());

TEST(JobReportsLanguage, AFailureMessageWithoutItsFailureShowsNothing)
{
    for (const uint32_t message : {WM_WRITE_PARA_LINE_ERR_NOTIFY, WM_JOB_PORT_LOST_NOTIFY})
        EXPECT_EQ(DescribeJobMessage(message, 0, 0, {}).display, Display::None) << message;
}

TEST(JobReportsLanguage, NoTextForAnUnknownLanguageButTheFailureStands)
{
    lang::SetCode(9);
    const JobReport report = DescribeJobMessage(WM_READ_PARA_ERR_NOTIFY, 3, 5, {});
    lang::SetCode(lang::kEnglish);
    EXPECT_EQ(report.display, Display::None);
    EXPECT_TRUE(report.failure);
    EXPECT_EQ(report.after, After::EndOfRead);
}

} // namespace
