# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Puts one brush face and its licence into the Fonts folder: merged from its package's pieces
# into the cache the first time, copied from the cache ever after.
#   cmake -DTARBALL=… -DMERGED=… -DLICENCE=… -DPYTHON=… -DMERGER=merge-woff2.py
#         -DFACE=Fonts/X.ttf -DFACE_LICENCE=Fonts/X-OFL.txt -P BrushFace.cmake
if(NOT (EXISTS ${MERGED} AND EXISTS ${LICENCE}))
  get_filename_component(cache ${MERGED} DIRECTORY)
  get_filename_component(stem ${MERGED} NAME_WE)
  # A folder of its own, so that two build folders merging at once do not meet.
  string(RANDOM LENGTH 8 salt)
  set(work ${cache}/merge-${stem}-${salt})
  file(REMOVE_RECURSE ${work})
  file(ARCHIVE_EXTRACT INPUT ${TARBALL} DESTINATION ${work}
       PATTERNS package/LICENSE package/files/*.woff2)
  # The numbered pieces cut the face by Unicode range and the Latin piece adds what they
  # leave out; the "chinese-simplified" file repeats the numbered ones and is not needed.
  file(GLOB pieces ${work}/package/files/*-[0-9]*-400-normal.woff2
                   ${work}/package/files/*-latin-400-normal.woff2)
  if(NOT pieces OR NOT EXISTS ${work}/package/LICENSE)
    message(FATAL_ERROR "${TARBALL} holds no .woff2 pieces or no LICENSE")
  endif()
  execute_process(COMMAND ${PYTHON} ${MERGER} ${MERGED}.new ${pieces} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Merging the pieces of ${TARBALL} failed")
  endif()
  file(COPY_FILE ${work}/package/LICENSE ${LICENCE}.new)
  file(RENAME ${LICENCE}.new ${LICENCE})
  file(RENAME ${MERGED}.new ${MERGED})
  file(REMOVE_RECURSE ${work})
endif()
get_filename_component(folder ${FACE} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(COPY_FILE ${MERGED} ${FACE})
file(COPY_FILE ${LICENCE} ${FACE_LICENCE})
