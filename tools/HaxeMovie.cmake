# pelliwick_haxe_movie(NAME WIDTH HEIGHT FPS RRGGBB OUTPUT_FOLDER SOURCE_FOLDER
#   DEPENDS files...): compiles the Haxe class NAME of SOURCE_FOLDER into
# OUTPUT_FOLDER/NAME.swf, a movie of ActionScript 3 for Flash Player 10 on a
# stage of that size, frame rate and colour. Haxe finds the sounds a movie
# embeds in OUTPUT_FOLDER. The movies of a folder are listed in the global
# property pelliwick_movies_<OUTPUT_FOLDER>.
find_program(HAXE haxe REQUIRED)
execute_process(COMMAND ${HAXE} --version OUTPUT_VARIABLE HAXE_VERSION
  ERROR_VARIABLE HAXE_VERSION OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)

# pelliwick_swf_header(VARIABLE WIDTH HEIGHT FPS RRGGBB): Haxe's arguments for
# a movie's stage. Haxe 4.3 takes it as a define and warns about the older
# flag; Haxe 4.2 reads no stage colour from the define (the stage comes out
# white), so the form follows the Haxe found.
function(pelliwick_swf_header variable width height fps colour)
  set(header ${width}:${height}:${fps}:${colour})
  if(HAXE_VERSION VERSION_LESS 4.3)
    set(${variable} -swf-header ${header} PARENT_SCOPE)
  else()
    set(${variable} -D swf-header=${header} PARENT_SCOPE)
  endif()
endfunction()

function(pelliwick_haxe_movie name width height fps colour output source)
  cmake_parse_arguments(PARSE_ARGV 7 MOVIE "" "" "DEPENDS")
  set(movie ${output}/${name}.swf)
  pelliwick_swf_header(header ${width} ${height} ${fps} ${colour})
  add_custom_command(OUTPUT ${movie}
    COMMAND ${HAXE} -cp ${source} -cp ${output} -swf ${movie} -swf-version 10
      ${header} -main ${name}
    DEPENDS ${source}/${name}.hx ${MOVIE_DEPENDS}
    COMMENT "Compiling the movie ${name}")
  set_property(GLOBAL APPEND PROPERTY pelliwick_movies_${output} ${movie})
endfunction()

# pelliwick_tone(OUTPUT HERTZ MILLISECONDS [fade]): a sound for movies to embed.
function(pelliwick_tone output hertz milliseconds)
  add_custom_command(OUTPUT ${output}
    COMMAND tone-wav ${output} ${hertz} ${milliseconds} ${ARGN} DEPENDS tone-wav)
endfunction()
