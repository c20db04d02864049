// Textured, coloured geometry. u_MVMatrix arrives with its 3x3 block transposed, so the
// position is multiplied from the left to apply the block as the program built it.
uniform mat4 u_PMatrix;
uniform mat4 u_MVMatrix;

attribute vec3 a_position;
attribute vec4 a_color;
attribute vec2 a_texCoord;

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

void main()
{
    vec3 world = a_position * mat3(u_MVMatrix) + u_MVMatrix[3].xyz;
    gl_Position = u_PMatrix * vec4(world, 1.0);
    v_color = a_color;
    v_texCoord = a_texCoord;
}
