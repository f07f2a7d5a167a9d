#pragma once

// Conversions between Dornel's units and Dadez's reduced variables. Each routine takes the unit
// code explicitly; an unknown code (or a division by zero in a volume conversion) is reported
// under the routine's own name and ends the calling export (ReportedError).

namespace dornel {

double PToBeta(double p, int code);      // p_to_beta
double BetaToP(double beta, int code);   // beta_to_p
double TempToKelvin(double t, int code); // the first half of temp_to_theta
double TempToTheta(double t, int code);  // temp_to_theta
double ThetaToTemp(double theta, int code);
double VolumeToX(double v, int code); // volume_to_x: 41 m³/kg, 42 kg/m³
double XToVolume(double chi, int code);
double HToE(double h, int code);
double EToH(double epsilon, int code);
double SToSigma(double s, int code);
double SigmaToS(double sigma, int code);
double WetToWetdry(double w, int code); // 51 unchanged, 52 1 − w (its own inverse)
double FaiToCap(double phi, int code);
double WmkToTc(double lambda, int code);       // from W/(m K)
double MicropasToDynvis(double mu, int code);  // from µPa s
double NmToSurtension(double sigma, int code); // from N/m

} // namespace dornel
