// The Italian captions of the menus, applied once at start-up.
#include "board/main.h"

namespace ks {

void Main::cambia_lingua() {
  lingua = "it";
  Label3.set_caption("numero");
  mnuopen.set_caption("Apri");
  mnusave.set_caption("Salva");
  mnunew.set_caption("Nuovo");
  mnuview.set_caption("Visualizza");
  mnupencil.set_caption("Mostra candidati");
  mnurefresh.set_caption("Rigenera candidati");
  mnuactivity.set_caption("Mostra attivita'");
  mnuhints.set_caption("Suggerimenti");
  mnuposition.set_caption("suggerisci posizione");
  mnunumber.set_caption("suggerisci numero");
  mnurestricted.set_caption("Posizioni obbligate");
  mnuchain.set_caption("Naked pair");
  mnutools.set_caption("Strumenti");
  mnusolve.set_caption("Risolvi");
  mnuanalise.set_caption("Analizza");
  mnugenerator.set_caption("Generatore");
  mnuquick.set_caption("Veloce");
  mnuadvanced.set_caption("Avanzato");
  mnureduce.set_caption("Riduci (tentativo)");
  mnumore.set_caption("+ difficile (tentativo)");
}

}  // namespace ks
