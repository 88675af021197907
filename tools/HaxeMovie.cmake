# pelliwick_haxe_movie(NAME WIDTH HEIGHT FPS RRGGBB OUTPUT_FOLDER SOURCE_FOLDER
#   DEPENDS files...): compiles the Haxe class NAME of SOURCE_FOLDER into
# OUTPUT_FOLDER/NAME.swf, a movie of ActionScript 3 for Flash Player 10 on a
# stage of that size, frame rate and colour. Haxe finds the sounds a movie
# embeds in OUTPUT_FOLDER. The movies of a folder are listed in the global
# property pelliwick_movies_<OUTPUT_FOLDER>.
find_program(HAXE haxe REQUIRED)

function(pelliwick_haxe_movie name width height fps colour output source)
  cmake_parse_arguments(PARSE_ARGV 7 MOVIE "" "" "DEPENDS")
  set(movie ${output}/${name}.swf)
  add_custom_command(OUTPUT ${movie}
    COMMAND ${HAXE} -cp ${source} -cp ${output} -swf ${movie} -swf-version 10
      -swf-header ${width}:${height}:${fps}:${colour} -main ${name}
    DEPENDS ${source}/${name}.hx ${MOVIE_DEPENDS}
    COMMENT "Compiling the movie ${name}")
  set_property(GLOBAL APPEND PROPERTY pelliwick_movies_${output} ${movie})
endfunction()

# pelliwick_tone(OUTPUT HERTZ MILLISECONDS [fade]): a sound for movies to embed.
function(pelliwick_tone output hertz milliseconds)
  add_custom_command(OUTPUT ${output}
    COMMAND tone-wav ${output} ${hertz} ${milliseconds} ${ARGN} DEPENDS tone-wav)
endfunction()
