#include "lang/language_id.h"

#include <cctype>
#include <cstdlib>

namespace zentrik::lang {
namespace {

struct LocaleId {
    const char* name;  // "ll_CC" or "ll" (the language's main id)
    int id;
};

// Language ids of the locales users run; the bare language gives its most common territory.
constexpr LocaleId kLocaleIds[] = {
    {"en_US", 1033}, {"en_GB", 2057},  {"en_AU", 3081},  {"en_CA", 4105},  {"en_NZ", 5129},
    {"en_IE", 6153}, {"en_ZA", 7177},  {"en_IN", 16393}, {"en_SG", 18441}, {"en", 1033},
    {"zh_TW", 1028}, {"zh_CN", 2052},  {"zh_HK", 3076},  {"zh_SG", 4100},  {"zh_MO", 5124},
    {"zh", 2052},    {"ja_JP", 1041},  {"ja", 1041},     {"ko_KR", 1042},  {"ko", 1042},
    {"de_DE", 1031}, {"de_CH", 2055},  {"de_AT", 3079},  {"de_LU", 4103},  {"de_LI", 5127},
    {"de", 1031},    {"fr_FR", 1036},  {"fr_BE", 2060},  {"fr_CA", 3084},  {"fr_CH", 4108},
    {"fr_LU", 5132}, {"fr", 1036},     {"es_ES", 3082},  {"es_MX", 2058},  {"es_AR", 11274},
    {"es_CO", 9226}, {"es_CL", 13322}, {"es_PE", 10250}, {"es_VE", 8202},  {"es_US", 21514},
    {"es", 3082},    {"it_IT", 1040},  {"it_CH", 2064},  {"it", 1040},     {"pt_BR", 1046},
    {"pt_PT", 2070}, {"pt", 2070},     {"ru_RU", 1049},  {"ru", 1049},     {"nl_NL", 1043},
    {"nl_BE", 2067}, {"nl", 1043},     {"pl_PL", 1045},  {"pl", 1045},     {"cs_CZ", 1029},
    {"cs", 1029},    {"sk_SK", 1051},  {"sk", 1051},     {"hu_HU", 1038},  {"hu", 1038},
    {"ro_RO", 1048}, {"ro", 1048},     {"bg_BG", 1026},  {"bg", 1026},     {"el_GR", 1032},
    {"el", 1032},    {"tr_TR", 1055},  {"tr", 1055},     {"uk_UA", 1058},  {"uk", 1058},
    {"sv_SE", 1053}, {"sv_FI", 2077},  {"sv", 1053},     {"da_DK", 1030},  {"da", 1030},
    {"nb_NO", 1044}, {"nb", 1044},     {"no", 1044},     {"nn_NO", 2068},  {"nn", 2068},
    {"fi_FI", 1035}, {"fi", 1035},     {"he_IL", 1037},  {"he", 1037},     {"ar_SA", 1025},
    {"ar_EG", 3073}, {"ar", 1025},     {"th_TH", 1054},  {"th", 1054},     {"vi_VN", 1066},
    {"vi", 1066},    {"id_ID", 1057},  {"id", 1057},     {"ms_MY", 1086},  {"ms", 1086},
    {"hr_HR", 1050}, {"hr", 1050},     {"sl_SI", 1060},  {"sl", 1060},     {"sr_RS", 10266},
    {"sr", 10266},   {"et_EE", 1061},  {"et", 1061},     {"lv_LV", 1062},  {"lv", 1062},
    {"lt_LT", 1063}, {"lt", 1063},     {"ca_ES", 1027},  {"ca", 1027},     {"eu_ES", 1069},
    {"eu", 1069},    {"gl_ES", 1110},  {"gl", 1110},     {"fa_IR", 1065},  {"fa", 1065},
    {"hi_IN", 1081}, {"hi", 1081},     {"is_IS", 1039},  {"is", 1039},
};

int find_id(std::string_view name) {
    for (const auto& entry : kLocaleIds) {
        if (name == entry.name)
            return entry.id;
    }
    return 0;
}

}  // namespace

std::string user_locale_name() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

int language_id_from_locale(std::string_view locale) {
    // "ll_CC.codeset@modifier": only the language and territory matter.
    locale = locale.substr(0, locale.find_first_of(".@"));
    std::string language;
    std::string territory;
    const auto sep = locale.find_first_of("_-");
    for (char c : locale.substr(0, sep))
        language += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (sep != std::string_view::npos) {
        for (char c : locale.substr(sep + 1))
            territory += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (!territory.empty()) {
        if (int id = find_id(language + "_" + territory))
            return id;
    }
    if (int id = find_id(language))
        return id;
    return kLanguageEnglishUs;
}

}  // namespace zentrik::lang
