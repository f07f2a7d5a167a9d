#pragma once

// Constants of the 1967 IFC Formulation for Industrial Use (IFC-67), transcribed from the
// formulation's tables: reducing constants, the saturation (K) and boundary (L) functions and the
// coefficients of the four subregion equations. Names follow the formulation's symbols.

namespace dadez::ifc67 {

// Reducing constants: θ = T/Tc1, β = p/pc1, χ = v/vc1.
constexpr double kTc1 = 647.3;      // K
constexpr double kPc1 = 22.12e6;    // Pa
constexpr double kVc1 = 0.00317;    // m³/kg
constexpr double kI1 = 4.260321148; // reduced gas constant R·Tc1/(pc1·vc1), R = 461.51 J/(kg K)

// Fixed temperatures and the pressure limit, as the ratios themselves.
constexpr double kTheta1 = 623.15 / kTc1;    // 350 °C: subregion 1 ends, 3 and 4 begin
constexpr double kTheta2 = 863.15 / kTc1;    // 590 °C: the L line reaches the pressure limit
constexpr double kThetaMax = 1073.15 / kTc1; // 800 °C: upper temperature limit
constexpr double kThetaMin = 273.15 / kTc1;  // 0 °C: lower temperature limit
constexpr double kBetaMax = 100.0e6 / kPc1;  // 100 MPa: upper pressure limit
constexpr double kBetaMin = 1.0 / kPc1;      // 1 Pa: lower pressure limit (vapour only)

// Saturation line, ln β_K(θ) = Σk_ν x^ν / (θ(1 + k6 x + k7 x²)) − x/(k8 x² + k9), x = 1 − θ.
constexpr double kK[10] = {0.0,          -7.691234564, -26.08023696, -168.1706546, 64.23285504,
                           -118.9646225, 4.16711732,   20.9750676,   1000000000.0, 6.0};

// Boundary between subregions 2 and 3, β_L(θ) = L0 + L1 θ + L2 θ².
constexpr double kL0 = 15.74373327;
constexpr double kL1 = -34.17061978;
constexpr double kL2 = 19.31380707;

// Subregion 1 (Gibbs form): A0..A22 and a1..a12 (index 0 of kA1a unused).
constexpr double kA[23] = {6824.687741,     -542.2063673,    -20966.66205,   39412.86787,
                           -67332.77739,    99023.81028,     -109391.1774,   85908.41667,
                           -45111.68742,    14181.38926,     -2017.271113,   7.982692717,
                           -0.02616571843,  0.00152241179,   0.02284279054,  242.1647003,
                           1.269716088e-10, 2.074838328e-07, 2.17402035e-08, 1.105710498e-09,
                           12.93441934,     1.308119072e-05, 6.047626338e-14};
constexpr double kA1a[13] = {
    0.0,      0.8438375405, 0.0005362162162, 1.72,        0.07342278489,   0.0497585887, 0.65371543,
    1.15e-06, 1.5108e-05,   0.14188,         7.002753165, 0.0002995284926, 0.204};

// Subregion 2 (Gibbs form).
constexpr double kB0 = 16.83599274;
constexpr double kB0nu[6] = {0.0,          28.56067796,   -54.38923329,
                             0.4330662834, -0.6547711697, 0.08565182058};
constexpr double kB = 0.7633333333; // X = exp(b(1 − θ))

// One term B_μλ·X^z_μλ of the μ-th group.
struct BTerm {
    int mu;
    double coefficient;
    int exponent;
};
constexpr BTerm kBTerms[18] = {
    {1, 0.06670375918, 13},  {1, 1.388983801, 3},     {2, 0.08390104328, 18},
    {2, 0.02614670893, 2},   {2, -0.03373439453, 1},  {3, 0.4520918904, 18},
    {3, 0.1069036614, 10},   {4, -0.5975336707, 25},  {4, -0.08847535804, 14},
    {5, 0.5958051609, 32},   {5, -0.5159303373, 28},  {5, 0.2075021122, 24},
    {6, 0.1190610271, 12},   {6, -0.09867174132, 11}, {7, 0.1683998803, 24},
    {7, -0.05809438001, 18}, {8, 0.006552390126, 24}, {8, 0.0005710218649, 14}};
// b_μλ·X^x_μλ in the denominators of the groups μ = 6, 7, 8.
constexpr BTerm kSmallBTerms[4] = {
    {6, 0.4006073948, 14}, {7, 0.08636081627, 19}, {8, -0.8532322921, 54}, {8, 0.3460208861, 27}};
constexpr double kB9[7] = {193.6587558, -1388.522425, 4126.607219, -6508.211677,
                           5745.984054, -2693.088365, 523.5718623};

// Subregion 3 (Helmholtz form). Rows: C0ν (ν = 0..12), C1ν (ν = 1..7), C2ν (ν = 1..8),
// C3ν (ν = 1..10); index 0 of the last three rows unused.
constexpr double kC0[13] = {-6.8399,      -0.017226042,   -7.77175039, 4.20460752,  -2.76807038,
                            2.10419707,   -1.14649588,    0.223138085, 0.116250363, -0.0820900544,
                            0.0194129239, -0.00169470576, -4.311577033};
constexpr double kC1[8] = {0.0,        0.708636085,  12.3679455,   -12.0389004,
                           5.40437422, -0.993865043, 0.0627523182, -7.74743016};
constexpr double kC2[9] = {0.0,        -4.29885092, 43.1430538,  -14.1619313, 4.04172459,
                           1.55546326, -1.66568935, 0.324881158, 29.3655325};
constexpr double kC3[11] = {0.0,        7.94841842e-06, 80.8859747, -83.615338,
                            35.8636517, 7.51895954,     -12.616064, 1.09717462,
                            2.12145492, -0.546529566,   8.32875413};
constexpr double kC40 = 2.75971776e-06;
constexpr double kC41 = -0.000509073985;
constexpr double kC50 = 210.636332;
constexpr double kC6[5] = {0.05528935335, -0.2336365955, 0.369707142, -0.259641547, 0.06828087013};
constexpr double kC7[9] = {-257.1600553, -151.8783715, 22.20723208,  -180.203957, 2357.09622,
                           -14623.35698, 45429.1663,   -70535.56432, 43815.71428};

// Subregion 4 correction (Helmholtz form).
constexpr double kD3[5] = {-1.717616747, 3.526389875, -2.690899373, 0.9070982605, -0.1138791156};
constexpr double kD4[5] = {1.301023613, -2.642777743, 1.996765362, -0.6661557013, 0.08270860589};
constexpr double kD5[3] = {0.0003426663535, -0.001236521258, 0.001155018309};

} // namespace dadez::ifc67
