#include "simunit/FactoryMemory.h"

// One line per byte from 161 on (bytes 0-160 are covered by no item and are 0).
// Each comment names the item(s) by their catalogue number and the computation:
// the unit byte of the item's default user value through its conversion,
// rounded half away from zero; bit fields merged into the shared bytes 163, 164
// and 165. The engine speeds that follow the ignition type use the scale of the
// stored type 4 (B = 120000); the injector-wire cut-off speeds keep B = 117000.

namespace FactoryMemory {

namespace {

std::array<uint8_t, Size> makeFactory()
{
    std::array<uint8_t, Size> memory{}; // bytes 0-160: no item, 0
    // clang-format off
    const uint8_t upper[Size - 161] = {
    172, // 161: 17 CHECKUP = 172
     32, // 162: 10 FLAG_GONFIGURAZIONE = 32 (maximum-power option)
     68, // 163: 1 TIPO_ACCENSIONE 4 (bits 0-2 = 4) | 3 TIPO_CAMBIO 0 (bits 3-4 = 0) | 43 TIPO_EMULAZIONE 2 (table 2 -> 64, bits 5-6)
      1, // 164: 34 TipoSensore 0 (table 0 -> unit 1, bits 0-2) | 15 FLAG_CONFIGURAZIONE_2 0 | 2 TIPO_SEGNALE_GIRI 0 | 5 TIPO_TPS 0
      0, // 165: 45 FLAG_CONFIGURAZIONE_3 16 (bit 4 stored inverted -> 0) | 6 TIPO_SONDA_LAMBDA 0 (bits 5-7)
    143, // 166: 12 TPS_PER_AFFONDATA 2.8 V: 2.8 * 255 / 5 = 142.8 -> 143
    100, // 167: 11 POSIZIONE_IN_AFFONDATA = 100
    100, // 168: 14 POSIZIONE_DEFAULT = 100
     18, // 169: 35 NUMERO_VOLTE_ALTO 0.36 s: 0.36 * 1000 / 20 = 18
     18, // 170: 36 NUVERO_VOLTE_BASSO 0.36 s: 18
      0, // 171: 37 NUMERO_VOLTE_TRI = 0
      1, // 172: 38 NUMERO_RIPETIZIONI_ONDA = 1
      0, // 173: 39 NUMERO_RIPETIZIONI_TRI = 0
     60, // 174: 57 VelIngrMinimo = 60 ms
     80, // 175: 58 VelSmagrMinimo = 80 ms
     20, // 176: 76 VelocitaFuga = 20 ms
     35, // 177: 59 VelIngrCrociera = 35 ms
     60, // 178: 60 VelSmagrCrociera = 60 ms
     20, // 179: 71 OrvNumberVelIngrSbana = 20 ms
     80, // 180: 70 OrvNumberVelSmagrSbana = 80 ms
      0, // 181: no item
      0, // 182: 65 FrazDefEntroMinimo 0 (sign and magnitude)
      5, // 183: 66 FrazDefEscoMinimo 5 (sign and magnitude)
     25, // 184: 62 MassimaAperturaAlMinimo = 25
     25, // 185: 44 AperturaSfigFuoriMin = 25
      8, // 186: 46 AperturaSfigFuoriMinEco = 8
     25, // 187: 61 MinimaAperturaAlMinimo = 25
    255, // 188: 64 MassimaAperturaInCrociera = 255
    255, // 189: 63 MinimaAperturaInCrociera = 255
     10, // 190: 75 MinAperturaInFuga = 10
     10, // 191: 74 MaxAperturaInFuga = 10
     10, // 192: 72 GiriCutOffFiliGialli 12000 RPM: 117000 / 12000 = 9.75 -> 10
     10, // 193: 73 GiriSgancioCutOffFiliGialli 12000 RPM: 10
      7, // 194: 16 ISTERESI_MINIMO_TPS 0.14 V: 7.14 -> 7
     71, // 195: 67 ValoreMinimoTPS 1.4 V: 71.4 -> 71
    102, // 196: 47 TPSFasciaApprendimento 2 V: 102
    179, // 197: 54 OrvNumberTPSRif2 3.5 V: 178.5 -> 179
     28, // 198: 42 RifLambdaRiccoFreddo 0.55 V: 28.05 -> 28
     28, // 199: 40 RifLambdaAlMinimo 0.55 V: 28
     28, // 200: 41 RifLambdaFuoriMinimo 0.55 V: 28
     28, // 201: 77 MaxRicco 0.55 V: 28
     28, // 202: 49 RifLambdaInPotenza 0.55 V: 28
      0, // 203: no item
     80, // 204: 32 GiriCutOff 1500 RPM: 120000 / 1500 = 80
      1, // 205: 7 RITARDO_LETTURA_SONDA 5 s: 5 / 5 = 1
     80, // 206: 13 POSIZIONE_IN_CUTOFF = 80
    240, // 207: 8 MASSIMA_APERTURA_ATTUATORE = 240
     20, // 208: 9 MINIMA_APERTURA_ATTUATORE = 20
    120, // 209: 68 RitardoSmagrPrimoGrasso = 120
      1, // 210: 69 NPassiPrimoMagroCrociera = 1
      4, // 211: 52 NPassiTestMagroPower = 4
     10, // 212: 50 TempoTraTestMagroPower 0.2 s: 0.2 * 1000 / 20 = 10
     33, // 213: 31 GiriSbananata 3600 RPM: 120000 / 3600 = 33.3 -> 33
      4, // 214: 51 NPassiPrimoMagroPower = 4
    179, // 215: 53 TPSSbananata 3.5 V: 178.5 -> 179
    101, // 216: 4 TEMPO_SOVRAPPOSIZIONE 0.4 s: (0.4 * 1000 + 4) / 4 = 101
      0, // 217: no item
    100, // 218: 55 PosizioneInOpenLoop = 100
      0, // 219: 48 PosizioneASondaFredda 0 (sign and magnitude)
      0, // 220: no item
      0, // 221: no item
      0, // 222: no item
     60, // 223: 30 GiriPerCambio 2000 RPM: 120000 / 2000 = 60 (56 TempoDiCicchetto shares the byte; its default 1 s would be 50, used only with TIPO_CAMBIO 2)
    128, // 224: 19 TEMPERATURA_PER_CAMBIO 25 C: ratio 1.0 -> 255 * 1 / 2 = 127.5 -> 128
      6, // 225: 33 GiriFuoriGiri 20000 RPM (off): 120000 / 20000 = 6
      5, // 226: 26 TIPO_COMMUTATORE = 5, push button only (AND 0x87 = 5; 0 would match no switch kind)
      0, // 227: no item
      0, // 228: no item
      0, // 229: no item
      0, // 230: no item
      0, // 231: no item
      0, // 232: no item
      0, // 233: no item
      0, // 234: no item
      0, // 235: no item
      0, // 236: no item
      0, // 237: no item
      0, // 238: no item
      0, // 239: no item
      0, // 240: no item
      0, // 241: no item
      0, // 242: no item
      0, // 243: no item
      0, // 244: no item
      0, // 245: no item
      0, // 246: no item
      0, // 247: no item
      0, // 248: no item
      0, // 249: no item
      0, // 250: no item
      0, // 251: no item
      0, // 252: no item
      0, // 253: no item
      0, // 254: no item
      0, // 255: no item
    };
    // clang-format on
    for (int i = 0; i < Size - 161; ++i)
        memory[161 + i] = upper[i];
    return memory;
}

} // namespace

const std::array<uint8_t, Size>& bytes()
{
    static const std::array<uint8_t, Size> memory = makeFactory();
    return memory;
}

} // namespace FactoryMemory
