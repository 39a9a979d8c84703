// Every page driven by scripts of clicks and texts, its controls found by
// their accessible names: the boxes and switches that enable controls, the
// rules a page checks in their order (the runner of page_test_support.h),
// what a page shows of a load and stores, and the bounds every field takes
// from the parameter catalogue.

#include "page_script.h"

using params::Page;
using params::Slot;

namespace {

// The slots each page loads and stores, in the order of the load and store
// table's texts.
std::vector<Slot> SlotsOf(Page page)
{
    using enum Slot;
    switch (page) {
    case Page::Passwords:
        return {GeneralPassword};
    case Page::Forbids:
        return {LongDistanceBlock, InternationalBlock, IncomingBlock, PrefixNumberBlock};
    case Page::Prefix:
        return {AddPrefix, PreNumbers, Prefix};
    case Page::Csp:
        return {CspNone, CspAllCalls, CspCallBack, CspNumber};
    case Page::SecurityCode:
        return {PinStartUp, PinCode};
    case Page::Times:
        return {DialTimeout,      Date,         Time, RestrictOutgoing, OutgoingLimit, FlashTime,
                RestrictIncoming, IncomingLimit};
    case Page::Volume:
        return {TxVolume, RxVolume};
    case Page::Forward:
        return {CallWaiting,  ForwardUnconditional, ForwardBusy,  ForwardNoAnswer,
                NoAnswerTime, ForwardOffOrNotFound, ForwardNumber};
    case Page::RestrictedId:
        return {RestrictedId};
    case Page::Polarity:
        return {PolarityInversion};
    default:
        return {};
    }
}

// A script, then each step's actions followed by what the page shows.
struct EnablingCase
{
    const char *name;
    Page page;
    std::vector<std::pair<const char *, const char *>> steps;
};

// clang-format off
const EnablingCase kEnablingCases[] = {
    // The switch neither moves the focus nor empties a field.
    {"prefix", Page::Prefix,
     {{"", "S (N) (P) @S"}, {"P=0021 @S S", "S+ N P=0021 @S"}, {"S", "S (N) (P=0021) @S"}}},
    // The list box's first click fills the twenty rows.
    {"forbids", Page::Forbids, {{"", "D I N L l @l"}, {"L", "D I N L+ l=20 @l"}}},
    // A timing's box empties its edit when unchecked; the switch off
    // disables every edit and the list, and the boxes keep their state.
    {"call back", Page::CallBack,
     {{"", "S (T) (t) (A) (a) (R) (r) (L) (l) @S"}, {"S", "S+ T (t) A (a) R (r) L (l) @S"},
      {"T", "S+ T+ t A (a) R (r) L (l) @t"},
      {"t=30 R r=7 L", "S+ T+ t=30 A (a) R+ r=7 L+ l=300 @r"},
      {"R", "S+ T+ t=30 A (a) R (r) L+ l=300 @L"},
      {"S", "S (T+) (t=30) (A) (a) (R) (r) (L+) (l=300) @S"},
      {"S", "S+ T+ t=30 A (a) R (r) L+ l=300 @S"}}},
    // Call back and all calls exclude each other.
    {"csp", Page::Csp,
     {{"", "B A (#) @B"}, {"B", "B+ A # @B"}, {"#=21 A", "B A+ #=21 @B"}, {"A", "B A (#=21) @B"}}},
    // Call waiting keeps the template's state until the first click.
    {"forward", Page::Forward,
     {{"", "M W (U) (B) (N) (O) (t=10) (#) @M"}, {"M", "M+ W U B N O (t=10) (#) @M"},
      {"N", "M+ W U B N+ O t=10 # @M"}, {"M", "M (W) (U) (B) (N+) (O) (t=10) (#) @M"}}},
    {"security code", Page::SecurityCode,
     {{"", "S (P=4711) C (o) (n) (c) (K) @S"}, {"@S S C", "S+ P=4711 C+ o n c K @S"},
      {"o=1234 C S", "S (P=4711) C (o=1234) (n) (c) (K) @S"}}},
    {"passwords", Page::Passwords,
     {{"", "C (o) (n) (c) (K) G @C"}, {"C", "C+ o n c K (G) @o"}, {"C", "C (o) (n) (c) (K) G @G"}}},
    {"times", Page::Times,
     {{"", "T (t) C (d) (h) O (o) I (i) F (f) @T"}, {"T", "T+ t C (d) (h) O (o) I (i) F (f) @t"},
      {"t=5 T O", "T (t=5) C (d) (h) O+ o I (i) F (f) @o"},
      {"o=5 O I", "T (t=5) C (d) (h) O (o=5) I+ i F (f) @i"},
      {"i=5 I F", "T (t=5) C (d) (h) O (o=5) I (i=5) F+ f @f"},
      {"f=5 F", "T (t=5) C (d) (h) O (o=5) I (i=5) F (f=5) @T"}}},
    {"volume", Page::Volume,
     {{"", "T (t) R (r) @T"}, {"R", "T (t) R+ r @r"}, {"r=5 R", "T (t) R (r=5) @T"}}},
};
// clang-format on

// A load and a store: the script, the slots' texts loaded ("|" between
// them; none: no load), what the page then shows (none: not looked at),
// and the texts stored over "?" in each slot ("?": left as it was).
struct LoadCase
{
    const char *name;
    Page page;
    const char *script;
    const char *loaded;
    const char *shown;
    const char *stored;
};

// clang-format off
const LoadCase kLoads[] = {
    {"csp none", Page::Csp, "", "1|0|0|21", "B A (#=21) @B", "1|0|0|21"},
    // As a read of 16541 = "2" and 16542 = "21" leaves the store.
    {"csp all calls", Page::Csp, "", "0|1|0|21", "B A+ #=21 @B", "0|1|0|21"},
    {"csp call back, number below 11 emptied", Page::Csp, "", "0|0|1|5", "B+ A # @B", "0|0|1|"},
    {"csp both on: all calls wins, above 99 emptied", Page::Csp, "", "0|1|1|100", "B A+ # @B", "0|1|0|"},
    {"csp none wins over the boxes", Page::Csp, "", "1|1|1|99", "B A (#=99) @B", "1|0|0|99"},
    // Nothing on: the CSP is not off, and the number it asks for can be typed.
    {"csp all off", Page::Csp, "", "|||11", "B A #=11 @B", "0|0|0|11"},
    // The focus goes to the last level loaded, or stays.
    {"volume both", Page::Volume, "@T", "12|3", "T+ t=12 R+ r=3 @r", "12|3"},
    {"volume TX only", Page::Volume, "@T", "07|", "T+ t=07 R (r) @t", "07|"},
    // An empty TX level leaves its box unchecked; nothing to export.
    {"volume RX only", Page::Volume, "@T", "|0", "T (t) R+ r=0 @r", "|0"},
    {"volume none", Page::Volume, "@T", "|", "T (t) R (r) @T", "|"},
    {"prefix on", Page::Prefix, "", "01|123|0021", "S+ N=1;2;3; P=0021 @S", "01|123|0021"},
    {"prefix any non-zero is on", Page::Prefix, "", "5|9|", "S+ N=9; P @S", "01|9|"},
    // Off, the texts are still stored as they are: a prefix of 17 digits too.
    {"prefix off", Page::Prefix, "", "00|44|12345678901234567", "S (N=4;4;) (P=12345678901234567) @S",
     "00|44|12345678901234567"},
    {"prefix empty", Page::Prefix, "", "||", "S (N) (P) @S", "00||"},
    // The PIN text keeps what it held; the start-up switch follows the load.
    {"start-up 0", Page::SecurityCode, "S P=98765", "0|1111", "S (P=98765) C (o) (n) (c) (K) @S", "00|98765"},
    {"start-up 00", Page::SecurityCode, "S P=98765", "00|1111", "S (P=98765) C (o) (n) (c) (K) @S", "00|98765"},
    {"start-up 01", Page::SecurityCode, "S P=98765", "01|1111", "S+ P=98765 C (o) (n) (c) (K) @S", "01|98765"},
    {"start-up 1", Page::SecurityCode, "S P=98765", "1|1111", "S+ P=98765 C (o) (n) (c) (K) @S", "01|98765"},
    {"start-up empty", Page::SecurityCode, "S P=98765", "|1111", "S (P=98765) C (o) (n) (c) (K) @S", "00|98765"},
    // A clock box checked before the load is unchecked by it; the limits
    // are stored as typed with their switches off.
    {"times everything on", Page::Times, "C @T", "5|050411|0930|1|45|300|01|90",
     "T+ t=5 C (d) (h) O+ o=45 I+ i=90 F+ f=300 @T", "5|||1|45|300|1|90"},
    {"timeout 05 rewritten", Page::Times, "C @T", "05|||0|45||0|",
     "T+ t=5 C (d) (h) O (o=45) I (i) F (f) @T", "5|||0|45||0|"},
    {"timeout 0 emptied", Page::Times, "C @T", "0|||0|||0|", "T (t) C (d) (h) O (o) I (i) F (f) @T", "|||0|||0|"},
    {"timeout 10 emptied", Page::Times, "C @T", "10|||0|||0|", "T (t) C (d) (h) O (o) I (i) F (f) @T", "|||0|||0|"},
    {"timeout 9 kept", Page::Times, "C @T", "9|||0|||0|", "T+ t=9 C (d) (h) O (o) I (i) F (f) @T", "9|||0|||0|"},
    {"timeout 1 kept", Page::Times, "C @T", "1|||0|||0|", "T+ t=1 C (d) (h) O (o) I (i) F (f) @T", "1|||0|||0|"},
    {"timeout not a number", Page::Times, "C @T", "x|||0|||0|", "T (t) C (d) (h) O (o) I (i) F (f) @T", "|||0|||0|"},
    {"times all stored", Page::Times, "T C O I F t=7 d=7 h=7 o=7 i=7 f=7", nullptr, nullptr, "7|7|7|1|7|7|1|7"},
    {"times none stored", Page::Times, "t=7 d=7 h=7 o=7 i=7 f=7", nullptr, nullptr, "|||0|7||0|7"},
    {"times outgoing only", Page::Times, "O t=7 d=7 h=7 o=7 i=7 f=7", nullptr, nullptr, "|||1|7||0|7"},
    {"times clock only", Page::Times, "C t=7 d=7 h=7 o=7 i=7 f=7", nullptr, nullptr, "|7|7|0|7||0|7"},
    {"forbids all on", Page::Forbids, "", "01|1|01|01", "D+ I+ N+ L+ l=20 @l", "01|01|01|01"},
    {"forbids some on", Page::Forbids, "", "00|01||5", "D I+ N L+ l=20 @l", "00|01|00|01"},
    {"forbids all off", Page::Forbids, "", "0||x|00", "D I N L l=20 @l", "00|00|00|00"},
    // Off, the page loads and stores nothing.
    {"forward off", Page::Forward, "", "00|00|01|01|20|00|5550100",
     "M W (U) (B) (N) (O) (t=10) (#) @M", "?|?|?|?|?|?|?"},
    {"forward no answer", Page::Forward, "M", "00|00|00|01|20|00|5550100",
     "M+ W U B N+ O t=20 #=5550100 @M", "00|00|00|01|20|00|5550100"},
    {"forward busy and off", Page::Forward, "M", "00|00|01|00|20|01|5550100",
     "M+ W U B+ N O+ (t=20) #=5550100 @M", "00|00|01|00|20|01|5550100"},
    {"call waiting", Page::Forward, "M", "01|00|00|00|20|00|5550100",
     "M+ W+ U B N O (t=20) (#=5550100) @M", "01|00|00|00|20|00|5550100"},
    {"general password", Page::Passwords, "", "135790", "C (o) (n) (c) (K) G=135790 @C", "135790"},
    // A read of 16546 = "01" checks the box; what goes back is "1". Polarity
    // is the same switch page: its rows show its own flag texts.
    {"restricted ID 01", Page::RestrictedId, "", "01", "S+ @S", "1"},
    {"restricted ID 1", Page::RestrictedId, "", "1", "S+ @S", "1"},
    {"restricted ID 5", Page::RestrictedId, "", "5", "S+ @S", "1"},
    {"restricted ID 00", Page::RestrictedId, "", "00", "S @S", "0"},
    {"restricted ID 0", Page::RestrictedId, "", "0", "S @S", "0"},
    {"restricted ID empty", Page::RestrictedId, "", "", "S @S", "0"},
    {"restricted ID x", Page::RestrictedId, "", "x", "S @S", "0"},
    {"polarity 01", Page::Polarity, "", "01", "S+ @S", "01"},
    {"polarity 00", Page::Polarity, "", "00", "S @S", "00"},
};
// clang-format on

// A rule: the script, then the check (the page's own, or a click of the
// button given), the message told (none: the page passes) and the control
// that offends: "x" a field, "l7" row 7 of a list, "^x" a field of a page
// that comes to the front before it tells, "-" none (the message alone,
// the focus stays where it was).
struct RuleCase
{
    const char *name;
    Page page;
    const char *script;
    const char *message;
    const char *offender = "";
    char button = 0;
};

constexpr char kCspNumber[] = "Error: The CSP Number must be number!";
constexpr char kCspLength[] = "Error: The CSP Number must be 2 characteres!";
constexpr char kCspRange[] = "Error: The CSP Number must be between 11 and 99!";
constexpr char kTxLength[] = "Error: The TX level must be 2 characteres!";
constexpr char kTxRange[] = "Error: The TX level must be between 00 and 15!";
constexpr char kPreDigits[] = "Error: Only numbers (0,1,2,...,9) are allowed in the Pre Number!";
constexpr char kNewLength[] = "Error: The New Password must be between 4 and 12 characters!";
constexpr char kControl[] =
    "Error: The New Password must not contain control characters or double quotes!";
constexpr char kPinLength[] = "Error: The PIN Code must be between 4 and 8 characters!";
constexpr char kPinDigits[] = "Error: Only numbers (0,1,2,...,9) are allowed in the PIN Code!";
constexpr char kPinShort[] = "Error: The PIN Code no less than 4 characters!";
constexpr char kPinSame[] = "Error: Confirm PIN Code isn`t same as New PIN Code!";
constexpr char kTimeout[] = "Error: The Timeout must be between 1 and 9 seconds!";
constexpr char kDateForm[] = "Please input a correct Date format (DDMMYY).";
constexpr char kDate[] = "Error: The Date must be a valid calendar date (DDMMYY)!";
constexpr char kTime[] = "Error: The Time must be between 0000 and 2359 (HHMM)!";
constexpr char kFlash[] = "Error: The Flash Time must be between 80 and 2000 ms!";
constexpr char kOutgoing[] = "Error: The Outgoing Time must be between 1 and 180 minutes!";
constexpr char kIncoming[] = "Error: The Incoming Time must be between 1 and 180 minutes!";
constexpr char kForwardLength[] = "Error: The Forward Number no more than 20 characters!";
constexpr char kForwardCharacters[] =
    "Error: Only the characters (+,0,1,...,9) are allowed in the Forward Number!";
constexpr char kCallBackTime[] = "Error: The Call Back Time must be between 1 and 99 seconds!";
constexpr char kAttempts[] = "Error: The Call Back Nun Cout must be between 1 and 10!";
constexpr char kCallBackList[] = "Please select the Call Back Number List box.";
constexpr char kAnswer[] = "Error: The Time to Answer Call Back must be between 1 and 99 seconds!";

// Every later field is bad too where the rule order matters: the first
// failure alone is told.
// clang-format off
const RuleCase kRules[] = {
    {"csp letter", Page::Csp, "B #=1a", kCspNumber, "#"},
    {"csp empty", Page::Csp, "A #=", kCspNumber, "#"},
    {"csp one digit", Page::Csp, "B #=5", kCspLength, "#"},
    {"csp three digits", Page::Csp, "A #=011", kCspLength, "#"},
    {"csp ten", Page::Csp, "B #=10", kCspRange, "#"},
    {"csp 11", Page::Csp, "B #=11", ""},
    {"csp 99", Page::Csp, "A #=99", ""},
    {"csp off: the number is not looked at", Page::Csp, "B #=1a B", ""},
    // The Volume page comes to the front before it tells; a bad RX level
    // waits while the TX level fails.
    {"TX empty", Page::Volume, "T R t= r=9", "Please input the TX level.", "^t"},
    {"TX 7", Page::Volume, "T R t=7 r=9", kTxLength, "^t"},
    {"TX 123", Page::Volume, "T R t=123 r=", kTxLength, "^t"},
    {"TX 16", Page::Volume, "T R t=16 r=9", kTxRange, "^t"},
    {"TX with a letter, RX off", Page::Volume, "T t=1a r=99", kTxRange, "^t"},
    {"RX empty", Page::Volume, "T R t=07 r=", "Please input the RX level.", "^r"},
    {"RX 07, TX off", Page::Volume, "R t=99 r=07", "Error: The RX level must be 1 character!", "^r"},
    {"RX 8", Page::Volume, "T R t=15 r=8", "Error: The RX level must be between 0 and 7!", "^r"},
    {"volume 07 and 0", Page::Volume, "T R t=07 r=0", ""},
    {"volume 00 and 7", Page::Volume, "T R t=00 r=7", ""},
    {"volume both off", Page::Volume, "t=99 r=99", ""},
    {"pre-number not a digit", Page::Prefix, "S N=1;a; P=12x", kPreDigits, "N"},
    // Eleven digits, repeated too: the count is checked first.
    {"more than 10 pre-numbers", Page::Prefix, "S N=0;1;2;3;4;5;6;7;8;9;0; P=x",
     "Error: The Prefix no more than 10 characters!", "N"},
    {"prefix not digits", Page::Prefix, "S N=1;2; P=12a", kPreDigits, "P"},
    // 17 digits and a repeated pre-number: the prefix is checked first.
    {"prefix of 17", Page::Prefix, "S N=1;1; P=12345678901234567",
     "Error: The Prefix no more than 16 characters!", "P"},
    {"pre-number twice", Page::Prefix, "S N=1;2;1; P=1234567890123456",
     "Error: Duplicate Pre Number found !", "N"},
    {"ten distinct, prefix of 16", Page::Prefix, "S N=0;1;2;3;4;5;6;7;8;9; P=1234567890123456", ""},
    {"prefix both empty", Page::Prefix, "S", ""},
    {"prefix switched off", Page::Prefix, "S N=1;a; P=12x S", ""},
    {"general empty", Page::Passwords, "G=", "Please input the General Password.", "G"},
    {"general of 7", Page::Passwords, "G=1234567",
     "Error: The General Password no more than 6 characters!", "G"},
    {"general of 1", Page::Passwords, "G=1", ""},
    {"general of 6", Page::Passwords, "G=123456", ""},
    // The login's password is "1234".
    {"old empty, the rest too", Page::Passwords, "C", "Please input the Old Password.", "o", 'K'},
    {"old of 13", Page::Passwords, "C o=1234567890123 n=5678 c=5678",
     "Error: The Old Password no more than 12 characters!", "o", 'K'},
    {"old of 3", Page::Passwords, "C o=123 n=5678 c=5678",
     "Error: The Old Password no less than 4 characters!", "o", 'K'},
    {"new empty", Page::Passwords, "C o=1234 c=5678", "Please input the New Password.", "n", 'K'},
    {"confirm empty", Page::Passwords, "C o=1234 n=5678", "Please input the Confirm Password.",
     "c", 'K'},
    {"differ, even with a wrong old one", Page::Passwords, "C o=9999 n=5678 c=5679",
     "Error: Confirm Password isn`t same as New Password!", "n", 'K'},
    {"new of 13", Page::Passwords, "C o=1234 n=1234567890123 c=1234567890123", kNewLength, "n", 'K'},
    {"new of 3", Page::Passwords, "C o=1234 n=567 c=567", kNewLength, "n", 'K'},
    {"old is not the login's", Page::Passwords, "C o=4321 n=5678 c=5678",
     "Error: Old Password invalid!", "o", 'K'},
    {"new with a quote", Page::Passwords, "C o=1234 n=56\"78 c=56\"78", kControl, "n", 'K'},
    {"new with a line end", Page::Passwords, "C o=1234 n=5678\r c=5678\r", kControl, "n", 'K'},
    {"new of 12", Page::Passwords, "C o=1234 n=123456789012 c=123456789012", "", "", 'K'},
    {"new of 4", Page::Passwords, "C o=1234 n=5678 c=5678", "", "", 'K'},
    // The PIN check of a Transmit: the page and the field first, then the
    // message; the field takes the focus only while the PIN is asked at
    // start-up (else disabled).
    {"PIN as the page starts", Page::SecurityCode, "", ""},
    {"PIN empty", Page::SecurityCode, "P=", kPinLength, "^P"},
    {"PIN of 3, start-up off", Page::SecurityCode, "P=123", kPinLength, "^P"},
    {"PIN of 3, start-up on", Page::SecurityCode, "S P=123", kPinLength, "^P"},
    {"PIN of 9", Page::SecurityCode, "S P=123456789", kPinLength, "^P"},
    {"PIN of 4", Page::SecurityCode, "S P=0000", ""},
    {"PIN of 8", Page::SecurityCode, "P=12345678", ""},
    {"old PIN empty", Page::SecurityCode, "C n=12 c=9", kPinDigits, "o", 'K'},
    {"old PIN with a letter", Page::SecurityCode, "C o=12a45", kPinDigits, "o", 'K'},
    {"old PIN of 3", Page::SecurityCode, "C o=123 n=12 c=9", kPinShort, "o", 'K'},
    {"new PIN empty", Page::SecurityCode, "C o=1234", kPinDigits, "n", 'K'},
    {"new PIN with a blank", Page::SecurityCode, "C o=12345678 n=12~45 c=12~45", kPinDigits, "n", 'K'},
    {"new PIN of 3", Page::SecurityCode, "C o=1234 n=567 c=567", kPinShort, "n", 'K'},
    {"confirm PIN differs", Page::SecurityCode, "C o=1234 n=5678 c=5679", kPinSame, "c", 'K'},
    {"confirm PIN longer", Page::SecurityCode, "C o=1234 n=5678 c=56780", kPinSame, "c", 'K'},
    {"confirm PIN empty", Page::SecurityCode, "C o=1234 n=5678", kPinSame, "c", 'K'},
    {"PIN change passes", Page::SecurityCode, "C o=1234 n=5678 c=5678", "", "", 'K'},
    {"timeout empty", Page::Times, "T t= C d=1 h=1 F f=1 O o=0 I i=0", "Please input a Timeout.", "t"},
    {"timeout 0", Page::Times, "T t=0", kTimeout, "t"},
    {"timeout 10", Page::Times, "T t=10 C d=1 h=1 F f=1 O o=0 I i=0", kTimeout, "t"},
    {"date of 5", Page::Times, "T t=9 C d=05041 h=093 F f=79 O o=0 I i=0", kDateForm, "d"},
    {"date of 7", Page::Times, "C d=0504110 h=0930", kDateForm, "d"},
    {"month 13 before the time", Page::Times, "T t=1 C d=991399 h=2599 F f=79 O o=0 I i=0", kDate, "d"},
    {"day 0", Page::Times, "C d=000411 h=0930", kDate, "d"},
    {"month 0", Page::Times, "C d=010011 h=0930", kDate, "d"},
    {"31 April", Page::Times, "C d=310499 h=0930", kDate, "d"},
    {"29 February 2023", Page::Times, "C d=290223 h=0930", kDate, "d"},
    {"30 February 2024", Page::Times, "C d=300224 h=0930", kDate, "d"},
    {"time of 3", Page::Times, "T t=1 C d=050411 h=093 F f=79 O o=0 I i=0",
     "Please input a correct Time format (HHMM).", "h"},
    {"hour 24", Page::Times, "T t=1 C d=050411 h=2400 F f=79 O o=0 I i=0", kTime, "h"},
    {"minute 60", Page::Times, "C d=050411 h=1260", kTime, "h"},
    {"time of 5", Page::Times, "C d=050411 h=09300", "Please input a correct Time format (HHMM).", "h"},
    {"flash 79 before the outgoing time", Page::Times, "T t=1 F f=79 O o=0 I i=0", kFlash, "f"},
    {"flash 2001", Page::Times, "F f=2001", kFlash, "f"},
    {"flash empty", Page::Times, "F f=", kFlash, "f"},
    {"outgoing 0", Page::Times, "F f=80 O o=0 I i=0", kOutgoing, "o"},
    {"outgoing 181", Page::Times, "O o=181", kOutgoing, "o"},
    {"outgoing empty", Page::Times, "O o=", kOutgoing, "o"},
    {"incoming 181", Page::Times, "O o=180 I i=181", kIncoming, "i"},
    {"incoming empty", Page::Times, "I i=", kIncoming, "i"},
    {"incoming 0", Page::Times, "I i=0", kIncoming, "i"},
    {"times lowest", Page::Times, "T t=1 C d=010100 h=0000 F f=80 O o=1 I i=1", ""},
    {"times highest", Page::Times, "T t=9 C d=311299 h=2359 F f=2000 O o=180 I i=180", ""},
    {"29 February 2024", Page::Times, "C d=290224 h=0930", ""},
    {"29 February 2000", Page::Times, "C d=290200 h=0930", ""},
    {"30 April", Page::Times, "C d=300411 h=0930", ""},
    {"leading zeros", Page::Times, "T t=05 F f=0080 O o=010 I i=001", ""},
    {"every box off", Page::Times, "t=0 d=0 h=0 f=0 o=0 i=0", ""},
    {"forward number empty", Page::Forward, "M B #=", "Please input the Forward Number.", "#"},
    {"forward 21 digits", Page::Forward, "M O #=123456789012345678901", kForwardLength, "#"},
    {"forward 21 with a letter", Page::Forward, "M U #=12345678901234567890a", kForwardLength, "#"},
    {"forward + alone", Page::Forward, "M N #=+", kForwardCharacters, "#"},
    {"forward a letter", Page::Forward, "M B #=555a", kForwardCharacters, "#"},
    {"forward + inside", Page::Forward, "M B #=55+5", kForwardCharacters, "#"},
    {"forward two +", Page::Forward, "M B #=++55", kForwardCharacters, "#"},
    {"forward + and digits", Page::Forward, "M B #=+5", ""},
    {"forward + and 19 digits", Page::Forward, "M U #=+1234567890123456789", ""},
    {"no forwarding, no number", Page::Forward, "M #=a", ""},
    {"call waiting, no number", Page::Forward, "M W #=", ""},
    {"master off", Page::Forward, "M U #=+ M", ""},
    {"forbidden 12a names 0813", Page::Forbids, "L l2=12a",
     "Error: Only numbers (0,1,2,...,9) are allowed in the position  0813!", "l2"},
    {"the first bad row counts", Page::Forbids, "L l0=123456789012345678901 l1=1a",
     "Error: Number of over 20 characters in the position 0811!", "l0"},
    {"digits before length in one row", Page::Forbids, "L l5=123456789012345678901a",
     "Error: Only numbers (0,1,2,...,9) are allowed in the position  0816!", "l5"},
    {"the last row is checked", Page::Forbids, "L l19=+55",
     "Error: Only numbers (0,1,2,...,9) are allowed in the position  0830!", "l19"},
    {"no forbidden number", Page::Forbids, "L", "Please input a number in the position 0811!", "l0"},
    {"forbidden row 4 only", Page::Forbids, "L l4=0800", ""},
    {"forbidden 20 digits", Page::Forbids, "L l0=12345678901234567890", ""},
    {"call back time empty", Page::CallBack, "S T t= L l0=12a", kCallBackTime, "t"},
    {"call back time 100, attempts 11 wait", Page::CallBack, "S T t=100 A a=11 L l0=12a",
     kCallBackTime, "t"},
    {"attempts 0", Page::CallBack, "S T t=99 A a=0 L l0=5551234", kAttempts, "a"},
    {"attempts 11", Page::CallBack, "S A a=11 R r=0 L l0=5551234", kAttempts, "a"},
    {"answer 100", Page::CallBack, "S T t=1 A a=10 R r=100 L l0=5551234", kAnswer, "r"},
    {"answer empty", Page::CallBack, "S R r= L l0=5551234", kAnswer, "r"},
    {"call back time 0", Page::CallBack, "S T t=0 L l0=5551234", kCallBackTime, "t"},
    {"attempts empty", Page::CallBack, "S A a= L l0=5551234", kAttempts, "a"},
    {"list box off", Page::CallBack, "S @S", kCallBackList, "-"},
    {"list box off, time bad", Page::CallBack, "S T t=5 @S", kCallBackList, "-"},
    {"call back row 0 with a letter", Page::CallBack, "S L l0=12a", "Error: Only numbers (0,1,...,9) are allowed in the position  :1507!", "l0"},
    {"in an earlier row before digits", Page::CallBack, "S L l1=123456789012345678901 l2=1a l3=2",
     "Error: Number of over 20 characters in the position 1508!", "l1"},
    {"digits before length", Page::CallBack, "S L l2=123456789012345678901a",
     "Error: Only numbers (0,1,...,9) are allowed in the position  :1509!", "l2"},
    {"the last call back row", Page::CallBack, "S L l299=123456789012345678901",
     "Error: Number of over 20 characters in the position 1806!", "l299"},
    {"no call back number", Page::CallBack, "S L",
     "Please input a number in the Call Back Number List.", "l0"},
    {"call back at the edges", Page::CallBack, "S T t=1 A a=1 R r=99 L l2=12345678901234567890", ""},
    {"call back without timings", Page::CallBack, "S L l0=5551234", ""},
    {"call back off, all bad", Page::CallBack, "S T t= A a= R r= S", ""},
    {"restricted ID on", Page::RestrictedId, "S", ""},
    {"restricted ID off", Page::RestrictedId, "", ""},
};
// clang-format on

// A field's bounds: the script with "%" for the value, and the control
// that refuses it (a field, or "l0" the first row of a list).
struct BoundsCase
{
    const char *name;
    Page page;
    const params::ValueForm &form;
    const char *script;
    const char *field;
    char button = 0;
};

// The values at the edges of the form, each with whether it lies outside:
// the values where the form bounds them, otherwise the lengths.
std::vector<std::pair<QString, bool>> Edges(const params::ValueForm &form)
{
    auto number = [&form](int n) {
        return QStringLiteral("%1").arg(n, form.minLength, 10, QLatin1Char('0'));
    };
    auto digits = [](int count) {
        QString text;
        for (int i = 1; i <= count; ++i)
            text += QLatin1Char(char('0' + i % 10));
        return text;
    };
    if (form.maxValue) {
        std::vector<std::pair<QString, bool>> edges{{number(form.minValue), false},
                                                    {number(form.maxValue), false},
                                                    {number(form.maxValue + 1), true}};
        if (form.minValue > 0)
            edges.emplace_back(number(form.minValue - 1), true);
        return edges;
    }
    std::vector<std::pair<QString, bool>> edges{{digits(form.maxLength), false},
                                                {digits(form.maxLength + 1), true}};
    if (form.minLength > 1) {
        edges.emplace_back(digits(form.minLength), false);
        edges.emplace_back(digits(form.minLength - 1), true);
    }
    return edges;
}

// The check of a row: the page's own, or a click of its button, which
// passes when the host is asked for the change.
bool Check(const ScriptedPage &scripted, char button)
{
    if (!button)
        return scripted.page->ValidatePage();
    qobject_cast<QAbstractButton *>(Control(scripted.controls, QChar(button)))->click();
    return scripted.host.pinChanges > 0 || !scripted.host.changedPassword.empty();
}

} // namespace

class PageScriptsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxesEnableTheirControls_data() { IndexRows(kEnablingCases); }

    void boxesEnableTheirControls()
    {
        QFETCH(int, index);
        const EnablingCase &test = kEnablingCases[index];
        ScriptedPage scripted(test.page);
        QVERIFY(scripted.shown);
        for (const auto &[actions, shown] : test.steps) {
            Act(scripted.controls, QString::fromLatin1(actions));
            QCOMPARE(Shown(scripted.controls), QString::fromLatin1(shown));
        }
    }

    void rulesInOrder_data() { IndexRows(kRules); }

    // A refusal changes nothing in the store; a list's offending row is
    // the one selected and current.
    void rulesInOrder()
    {
        QFETCH(int, index);
        const RuleCase &rule = kRules[index];
        ScriptedPage scripted(rule.page);
        QVERIFY(scripted.shown);
        Act(scripted.controls, QString::fromLatin1(rule.script));
        QString offender = QString::fromLatin1(rule.offender);
        Told order = Told::MessageFirst;
        if (offender.startsWith('^')) {
            order = Told::PageFirst;
            offender.remove(0, 1);
        } else if (offender == QLatin1String("-")) {
            order = Told::MessageOnly;
        }
        QWidget *control = offender.isEmpty() ? nullptr : Control(scripted.controls, offender[0]);
        QWidget *focused = QApplication::focusWidget();
        const ParameterStore before = scripted.host.store;
        VerifyRule(
            *scripted.page, [&] { return Check(scripted, rule.button); }, scripted.host,
            QString::fromUtf8(rule.message), control, order);
        if (!*rule.message || QTest::currentTestFailed())
            return;
        QVERIFY(scripted.host.store == before);
        if (order == Told::MessageOnly)
            QCOMPARE(QApplication::focusWidget(), focused);
        if (auto *list = qobject_cast<CReportCtrl *>(control)) {
            QCOMPARE(SelectedRows(list), QList<int>{offender.mid(1).toInt()});
            QCOMPARE(list->currentIndex().row(), offender.mid(1).toInt());
        }
    }

    void loadAndStore_data() { IndexRows(kLoads); }

    // Of the store's integers, set to 1 and 2 before the store, the forward
    // page stores its three switches (on with its master box), the
    // Security code page the PIN write mode of a plain write.
    void loadAndStore()
    {
        QFETCH(int, index);
        const LoadCase &row = kLoads[index];
        ScriptedPage scripted(row.page);
        QVERIFY(scripted.shown);
        ParameterStore &store = scripted.host.store;
        const std::vector<Slot> order = SlotsOf(row.page);
        Act(scripted.controls, QString::fromLatin1(row.script));
        if (row.loaded) {
            SetSlots(store, order, QString::fromLatin1(row.loaded).split('|'));
            scripted.page->LoadFromStore();
        }
        if (row.shown)
            QCOMPARE(Shown(scripted.controls), QString::fromLatin1(row.shown));
        SetSlots(store, order, QStringList(qsizetype(order.size()), QStringLiteral("?")));
        store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
        store.pinWriteMode = 2;
        scripted.page->SaveToStore();
        const int switches = row.page != Page::Forward ||
                             Control(scripted.controls, 'M')->property("checked").toBool();
        QCOMPARE(SlotTexts(store, order).join('|'), QString::fromLatin1(row.stored));
        QCOMPARE(
            (std::array{store.waitingForwardEnabled, store.callWaitingIncluded,
                        store.forwardingIncluded, store.pinWriteMode}),
            (std::array{switches, switches, switches, row.page == Page::SecurityCode ? 1 : 2}));
    }

    void everyFieldTakesItsBoundsFromTheCatalogue()
    {
        using params::FormOf;
        // clang-format off
        const BoundsCase cases[] = {
            {"general password", Page::Passwords, FormOf(Slot::GeneralPassword), "G=%", "G"},
            {"new software password", Page::Passwords, params::kSoftwarePasswordForm, "C o=1234 n=% c=%", "n", 'K'},
            {"forbidden number", Page::Forbids, params::kForbiddenList.form, "L l0=%", "l0"},
            {"pre-numbers", Page::Prefix, FormOf(Slot::PreNumbers), "S N=%", "N"},
            {"prefix", Page::Prefix, FormOf(Slot::Prefix), "S P=%", "P"},
            {"CSP number", Page::Csp, FormOf(Slot::CspNumber), "B #=%", "#"},
            {"forward number", Page::Forward, FormOf(Slot::ForwardNumber), "M B #=%", "#"},
            {"PIN code", Page::SecurityCode, FormOf(Slot::PinCode), "P=%", "P"},
            {"new PIN", Page::SecurityCode, FormOf(Slot::NewPin), "C o=1234 n=% c=%", "n", 'K'},
            {"dial timeout", Page::Times, FormOf(Slot::DialTimeout), "T t=%", "t"},
            {"outgoing limit", Page::Times, FormOf(Slot::OutgoingLimit), "O o=%", "o"},
            {"incoming limit", Page::Times, FormOf(Slot::IncomingLimit), "I i=%", "i"},
            {"flash time", Page::Times, FormOf(Slot::FlashTime), "F f=%", "f"},
            {"TX volume", Page::Volume, FormOf(Slot::TxVolume), "T t=%", "t"},
            {"RX volume", Page::Volume, FormOf(Slot::RxVolume), "R r=%", "r"},
            {"call back time", Page::CallBack, FormOf(Slot::CallBackTime), "S T t=%", "t"},
            {"call back attempts", Page::CallBack, FormOf(Slot::CallBackAttempts), "S A a=%", "a"},
            {"time to answer call back", Page::CallBack, FormOf(Slot::AnswerCallBackTime), "S R r=%", "r"},
            {"call back number", Page::CallBack, params::kCallBackList.form, "S L l0=%", "l0"},
        };
        // clang-format on
        for (const BoundsCase &c : cases) {
            for (const auto &[value, outside] : Edges(c.form)) {
                ScriptedPage scripted(c.page);
                Act(scripted.controls, QString::fromLatin1(c.script).replace('%', value));
                Check(scripted, c.button);
                QWidget *control = Control(scripted.controls, QChar(*c.field));
                const auto *field = qobject_cast<QLineEdit *>(control);
                const bool refused =
                    field ? field->text() != value || field->hasSelectedText()
                          : SelectedRows(qobject_cast<CReportCtrl *>(control)).contains(0);
                QVERIFY2(refused == outside,
                         qPrintable(QStringLiteral("%1 \"%2\"").arg(c.name, value)));
            }
        }
    }
};

KESTREL_QT_TEST(PageScriptsTest)
#include "page_scripts_test.moc"
