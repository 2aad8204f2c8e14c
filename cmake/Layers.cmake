# The layers of src/, lowest first. Each is one static library, and a layer
# includes and links only itself and the layers named in its TAV_USES_<layer>:
#   app (ports, settings, clock, serial line, data folder, prompter)
#   <- model (the image and its memory map, codecs, field table, label code)
#   <- radio (the link: it reads and writes the image the model lays out)
#   <- store, files, print, sim  <- fleet  <- tune <- ui;  fleet <- cli
set(TAV_LAYERS app model radio store files print sim fleet tune ui cli)
set(TAV_USES_app "")
set(TAV_USES_model app)
set(TAV_USES_radio app model)
set(TAV_USES_store app model radio)
set(TAV_USES_files app model radio)
set(TAV_USES_print app model radio)
set(TAV_USES_sim app model radio)
set(TAV_USES_fleet app model radio store files print sim)
set(TAV_USES_tune ${TAV_USES_fleet} fleet)
set(TAV_USES_ui ${TAV_USES_tune} tune)
set(TAV_USES_cli ${TAV_USES_fleet} fleet)
