// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/locations/Countries.h"

#include <QLocale>

#include <algorithm>
#include <vector>

namespace telvaro {

namespace {

// id, calling code, ISO code, name, trunk prefix (dialed before the area code
// on long-distance calls; empty where the area code is part of the number),
// international prefix.
struct Row
{
    quint32 id;
    quint32 code;
    const char* iso;
    const char* name;
    const char* trunk;
    const char* international;
};

// clang-format off
constexpr Row kRows[] = {
    {1, 1, "US", "United States of America", "1", "011"},
    {101, 1, "CA", "Canada", "1", "011"},
    {102, 1, "AS", "American Samoa", "1", "011"},
    {103, 1, "AI", "Anguilla", "1", "011"},
    {104, 1, "AG", "Antigua and Barbuda", "1", "011"},
    {105, 1, "BS", "Bahamas", "1", "011"},
    {106, 1, "BB", "Barbados", "1", "011"},
    {107, 1, "BM", "Bermuda", "1", "011"},
    {108, 1, "VG", "British Virgin Islands", "1", "011"},
    {109, 1, "KY", "Cayman Islands", "1", "011"},
    {110, 1, "DM", "Dominica", "1", "011"},
    {111, 1, "DO", "Dominican Republic", "1", "011"},
    {112, 1, "GD", "Grenada", "1", "011"},
    {113, 1, "GU", "Guam", "1", "011"},
    {114, 1, "JM", "Jamaica", "1", "011"},
    {115, 1, "MS", "Montserrat", "1", "011"},
    {116, 1, "MP", "Northern Mariana Islands", "1", "011"},
    {117, 1, "PR", "Puerto Rico", "1", "011"},
    {118, 1, "KN", "Saint Kitts and Nevis", "1", "011"},
    {119, 1, "LC", "Saint Lucia", "1", "011"},
    {120, 1, "VC", "Saint Vincent and the Grenadines", "1", "011"},
    {121, 1, "SX", "Sint Maarten", "1", "011"},
    {122, 1, "TT", "Trinidad and Tobago", "1", "011"},
    {123, 1, "TC", "Turks and Caicos Islands", "1", "011"},
    {124, 1, "VI", "United States Virgin Islands", "1", "011"},
    {7, 7, "RU", "Russia", "8", "8W10"},
    {701, 7, "KZ", "Kazakhstan", "8", "8W10"},
    {20, 20, "EG", "Egypt", "0", "00"},
    {27, 27, "ZA", "South Africa", "0", "00"},
    {30, 30, "GR", "Greece", "", "00"},
    {31, 31, "NL", "Netherlands", "0", "00"},
    {32, 32, "BE", "Belgium", "0", "00"},
    {33, 33, "FR", "France", "0", "00"},
    {34, 34, "ES", "Spain", "", "00"},
    {36, 36, "HU", "Hungary", "06", "00"},
    {39, 39, "IT", "Italy", "", "00"},
    {3901, 39, "VA", "Vatican City", "", "00"},
    {40, 40, "RO", "Romania", "0", "00"},
    {41, 41, "CH", "Switzerland", "0", "00"},
    {43, 43, "AT", "Austria", "0", "00"},
    {44, 44, "GB", "United Kingdom", "0", "00"},
    {4401, 44, "GG", "Guernsey", "0", "00"},
    {4402, 44, "IM", "Isle of Man", "0", "00"},
    {4403, 44, "JE", "Jersey", "0", "00"},
    {45, 45, "DK", "Denmark", "", "00"},
    {46, 46, "SE", "Sweden", "0", "00"},
    {47, 47, "NO", "Norway", "", "00"},
    {4701, 47, "SJ", "Svalbard and Jan Mayen", "", "00"},
    {48, 48, "PL", "Poland", "", "00"},
    {49, 49, "DE", "Germany", "0", "00"},
    {51, 51, "PE", "Peru", "0", "00"},
    {52, 52, "MX", "Mexico", "", "00"},
    {53, 53, "CU", "Cuba", "0", "119"},
    {54, 54, "AR", "Argentina", "0", "00"},
    {55, 55, "BR", "Brazil", "0", "00"},
    {56, 56, "CL", "Chile", "", "00"},
    {57, 57, "CO", "Colombia", "", "00"},
    {58, 58, "VE", "Venezuela", "0", "00"},
    {60, 60, "MY", "Malaysia", "0", "00"},
    {61, 61, "AU", "Australia", "0", "0011"},
    {6101, 61, "CX", "Christmas Island", "0", "0011"},
    {6102, 61, "CC", "Cocos (Keeling) Islands", "0", "0011"},
    {62, 62, "ID", "Indonesia", "0", "001"},
    {63, 63, "PH", "Philippines", "0", "00"},
    {64, 64, "NZ", "New Zealand", "0", "00"},
    {65, 65, "SG", "Singapore", "", "001"},
    {66, 66, "TH", "Thailand", "0", "001"},
    {81, 81, "JP", "Japan", "0", "010"},
    {82, 82, "KR", "Korea (South)", "0", "001"},
    {84, 84, "VN", "Vietnam", "0", "00"},
    {86, 86, "CN", "China", "0", "00"},
    {90, 90, "TR", "Turkey", "0", "00"},
    {91, 91, "IN", "India", "0", "00"},
    {92, 92, "PK", "Pakistan", "0", "00"},
    {93, 93, "AF", "Afghanistan", "0", "00"},
    {94, 94, "LK", "Sri Lanka", "0", "00"},
    {95, 95, "MM", "Myanmar", "0", "00"},
    {98, 98, "IR", "Iran", "0", "00"},
    {211, 211, "SS", "South Sudan", "0", "00"},
    {212, 212, "MA", "Morocco", "0", "00"},
    {21201, 212, "EH", "Western Sahara", "0", "00"},
    {213, 213, "DZ", "Algeria", "0", "00"},
    {216, 216, "TN", "Tunisia", "", "00"},
    {218, 218, "LY", "Libya", "0", "00"},
    {220, 220, "GM", "Gambia", "", "00"},
    {221, 221, "SN", "Senegal", "", "00"},
    {222, 222, "MR", "Mauritania", "", "00"},
    {223, 223, "ML", "Mali", "", "00"},
    {224, 224, "GN", "Guinea", "", "00"},
    {225, 225, "CI", "C\xc3\xb4te d'Ivoire", "", "00"},
    {226, 226, "BF", "Burkina Faso", "", "00"},
    {227, 227, "NE", "Niger", "", "00"},
    {228, 228, "TG", "Togo", "", "00"},
    {229, 229, "BJ", "Benin", "", "00"},
    {230, 230, "MU", "Mauritius", "", "020"},
    {231, 231, "LR", "Liberia", "0", "00"},
    {232, 232, "SL", "Sierra Leone", "0", "00"},
    {233, 233, "GH", "Ghana", "0", "00"},
    {234, 234, "NG", "Nigeria", "0", "009"},
    {235, 235, "TD", "Chad", "", "00"},
    {236, 236, "CF", "Central African Republic", "", "00"},
    {237, 237, "CM", "Cameroon", "", "00"},
    {238, 238, "CV", "Cabo Verde", "", "0"},
    {239, 239, "ST", "S\xc3\xa3o Tom\xc3\xa9 and Pr\xc3\xadncipe", "", "00"},
    {240, 240, "GQ", "Equatorial Guinea", "", "00"},
    {241, 241, "GA", "Gabon", "", "00"},
    {242, 242, "CG", "Congo", "", "00"},
    {243, 243, "CD", "Congo (Democratic Republic)", "0", "00"},
    {244, 244, "AO", "Angola", "", "00"},
    {245, 245, "GW", "Guinea-Bissau", "", "00"},
    {246, 246, "IO", "British Indian Ocean Territory", "", "00"},
    {247, 247, "AC", "Ascension Island", "", "00"},
    {248, 248, "SC", "Seychelles", "", "00"},
    {249, 249, "SD", "Sudan", "0", "00"},
    {250, 250, "RW", "Rwanda", "", "00"},
    {251, 251, "ET", "Ethiopia", "0", "00"},
    {252, 252, "SO", "Somalia", "0", "00"},
    {253, 253, "DJ", "Djibouti", "", "00"},
    {254, 254, "KE", "Kenya", "0", "000"},
    {255, 255, "TZ", "Tanzania", "0", "000"},
    {256, 256, "UG", "Uganda", "0", "000"},
    {257, 257, "BI", "Burundi", "", "00"},
    {258, 258, "MZ", "Mozambique", "", "00"},
    {260, 260, "ZM", "Zambia", "0", "00"},
    {261, 261, "MG", "Madagascar", "0", "00"},
    {262, 262, "RE", "R\xc3\xa9union", "0", "00"},
    {26201, 262, "YT", "Mayotte", "0", "00"},
    {263, 263, "ZW", "Zimbabwe", "0", "00"},
    {264, 264, "NA", "Namibia", "0", "00"},
    {265, 265, "MW", "Malawi", "0", "00"},
    {266, 266, "LS", "Lesotho", "", "00"},
    {267, 267, "BW", "Botswana", "", "00"},
    {268, 268, "SZ", "Eswatini", "", "00"},
    {269, 269, "KM", "Comoros", "", "00"},
    {290, 290, "SH", "Saint Helena", "", "00"},
    {29001, 290, "TA", "Tristan da Cunha", "", "00"},
    {291, 291, "ER", "Eritrea", "0", "00"},
    {297, 297, "AW", "Aruba", "", "00"},
    {298, 298, "FO", "Faroe Islands", "", "00"},
    {299, 299, "GL", "Greenland", "", "00"},
    {350, 350, "GI", "Gibraltar", "", "00"},
    {351, 351, "PT", "Portugal", "", "00"},
    {352, 352, "LU", "Luxembourg", "", "00"},
    {353, 353, "IE", "Ireland", "0", "00"},
    {354, 354, "IS", "Iceland", "", "00"},
    {355, 355, "AL", "Albania", "0", "00"},
    {356, 356, "MT", "Malta", "", "00"},
    {357, 357, "CY", "Cyprus", "", "00"},
    {358, 358, "FI", "Finland", "0", "00"},
    {35801, 358, "AX", "\xc3\x85land Islands", "0", "00"},
    {359, 359, "BG", "Bulgaria", "0", "00"},
    {370, 370, "LT", "Lithuania", "0", "00"},
    {371, 371, "LV", "Latvia", "", "00"},
    {372, 372, "EE", "Estonia", "", "00"},
    {373, 373, "MD", "Moldova", "0", "00"},
    {374, 374, "AM", "Armenia", "0", "00"},
    {375, 375, "BY", "Belarus", "8", "8W10"},
    {376, 376, "AD", "Andorra", "", "00"},
    {377, 377, "MC", "Monaco", "", "00"},
    {378, 378, "SM", "San Marino", "", "00"},
    {380, 380, "UA", "Ukraine", "0", "00"},
    {381, 381, "RS", "Serbia", "0", "00"},
    {382, 382, "ME", "Montenegro", "0", "00"},
    {383, 383, "XK", "Kosovo", "0", "00"},
    {385, 385, "HR", "Croatia", "0", "00"},
    {386, 386, "SI", "Slovenia", "0", "00"},
    {387, 387, "BA", "Bosnia and Herzegovina", "0", "00"},
    {389, 389, "MK", "North Macedonia", "0", "00"},
    {420, 420, "CZ", "Czechia", "", "00"},
    {421, 421, "SK", "Slovakia", "0", "00"},
    {423, 423, "LI", "Liechtenstein", "", "00"},
    {500, 500, "FK", "Falkland Islands", "", "00"},
    {501, 501, "BZ", "Belize", "", "00"},
    {502, 502, "GT", "Guatemala", "", "00"},
    {503, 503, "SV", "El Salvador", "", "00"},
    {504, 504, "HN", "Honduras", "", "00"},
    {505, 505, "NI", "Nicaragua", "", "00"},
    {506, 506, "CR", "Costa Rica", "", "00"},
    {507, 507, "PA", "Panama", "", "00"},
    {508, 508, "PM", "Saint Pierre and Miquelon", "", "00"},
    {509, 509, "HT", "Haiti", "", "00"},
    {590, 590, "GP", "Guadeloupe", "0", "00"},
    {59001, 590, "BL", "Saint Barth\xc3\xa9lemy", "0", "00"},
    {59002, 590, "MF", "Saint Martin", "0", "00"},
    {591, 591, "BO", "Bolivia", "0", "00"},
    {592, 592, "GY", "Guyana", "", "001"},
    {593, 593, "EC", "Ecuador", "0", "00"},
    {594, 594, "GF", "French Guiana", "0", "00"},
    {595, 595, "PY", "Paraguay", "0", "00"},
    {596, 596, "MQ", "Martinique", "0", "00"},
    {597, 597, "SR", "Suriname", "", "00"},
    {598, 598, "UY", "Uruguay", "0", "00"},
    {599, 599, "CW", "Cura\xc3\xa7" "ao", "", "00"},
    {59901, 599, "BQ", "Caribbean Netherlands", "", "00"},
    {670, 670, "TL", "Timor-Leste", "", "00"},
    {672, 672, "NF", "Norfolk Island", "", "00"},
    {673, 673, "BN", "Brunei", "", "00"},
    {674, 674, "NR", "Nauru", "", "00"},
    {675, 675, "PG", "Papua New Guinea", "", "00"},
    {676, 676, "TO", "Tonga", "", "00"},
    {677, 677, "SB", "Solomon Islands", "", "00"},
    {678, 678, "VU", "Vanuatu", "", "00"},
    {679, 679, "FJ", "Fiji", "", "00"},
    {680, 680, "PW", "Palau", "", "011"},
    {681, 681, "WF", "Wallis and Futuna", "", "00"},
    {682, 682, "CK", "Cook Islands", "", "00"},
    {683, 683, "NU", "Niue", "", "00"},
    {685, 685, "WS", "Samoa", "", "0"},
    {686, 686, "KI", "Kiribati", "", "00"},
    {687, 687, "NC", "New Caledonia", "", "00"},
    {688, 688, "TV", "Tuvalu", "", "00"},
    {689, 689, "PF", "French Polynesia", "", "00"},
    {690, 690, "TK", "Tokelau", "", "00"},
    {691, 691, "FM", "Micronesia", "", "011"},
    {692, 692, "MH", "Marshall Islands", "", "011"},
    {850, 850, "KP", "Korea (North)", "", "00"},
    {852, 852, "HK", "Hong Kong", "", "001"},
    {853, 853, "MO", "Macao", "", "00"},
    {855, 855, "KH", "Cambodia", "0", "001"},
    {856, 856, "LA", "Laos", "0", "00"},
    {880, 880, "BD", "Bangladesh", "0", "00"},
    {886, 886, "TW", "Taiwan", "0", "002"},
    {960, 960, "MV", "Maldives", "", "00"},
    {961, 961, "LB", "Lebanon", "0", "00"},
    {962, 962, "JO", "Jordan", "0", "00"},
    {963, 963, "SY", "Syria", "0", "00"},
    {964, 964, "IQ", "Iraq", "0", "00"},
    {965, 965, "KW", "Kuwait", "", "00"},
    {966, 966, "SA", "Saudi Arabia", "0", "00"},
    {967, 967, "YE", "Yemen", "0", "00"},
    {968, 968, "OM", "Oman", "", "00"},
    {970, 970, "PS", "Palestine", "0", "00"},
    {971, 971, "AE", "United Arab Emirates", "0", "00"},
    {972, 972, "IL", "Israel", "0", "00"},
    {973, 973, "BH", "Bahrain", "", "00"},
    {974, 974, "QA", "Qatar", "", "00"},
    {975, 975, "BT", "Bhutan", "", "00"},
    {976, 976, "MN", "Mongolia", "0", "001"},
    {977, 977, "NP", "Nepal", "0", "00"},
    {992, 992, "TJ", "Tajikistan", "8", "8W10"},
    {993, 993, "TM", "Turkmenistan", "8", "8W10"},
    {994, 994, "AZ", "Azerbaijan", "0", "00"},
    {995, 995, "GE", "Georgia", "0", "00"},
    {996, 996, "KG", "Kyrgyzstan", "0", "00"},
    {998, 998, "UZ", "Uzbekistan", "", "00"},
};
// clang-format on

const std::vector<Country>& table()
{
    static const std::vector<Country> all = [] {
        std::vector<Country> list;
        list.reserve(std::size(kRows));
        for (const Row& row : kRows) {
            Country c;
            c.id = row.id;
            c.code = row.code;
            c.iso = QString::fromLatin1(row.iso);
            c.name = QString::fromUtf8(row.name);
            c.sameAreaRule = QStringLiteral("G");
            c.longDistanceRule = QString::fromLatin1(row.trunk) + QStringLiteral("FG");
            c.internationalRule = QString::fromLatin1(row.international) + QStringLiteral("EFG");
            list.push_back(std::move(c));
        }
        std::sort(list.begin(), list.end(),
                  [](const Country& a, const Country& b) { return a.id < b.id; });
        return list;
    }();
    return all;
}

} // namespace

std::span<const Country> countries()
{
    return table();
}

const Country* findCountry(quint32 id)
{
    const auto& all = table();
    auto it = std::lower_bound(all.begin(), all.end(), id,
                               [](const Country& c, quint32 value) { return c.id < value; });
    if (it == all.end() || it->id != id)
        return nullptr;
    return &*it;
}

const Country* findCountryByIso(QStringView iso)
{
    for (const Country& c : table()) {
        if (c.iso.compare(iso, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const Country& localeCountry()
{
    // The default locale is the system's unless the program chose another.
    const QLocale::Territory territory = QLocale().territory();
    if (territory != QLocale::AnyTerritory) {
        if (const Country* c = findCountryByIso(QLocale::territoryToCode(territory)))
            return *c;
    }
    return *findCountry(1);
}

} // namespace telvaro
